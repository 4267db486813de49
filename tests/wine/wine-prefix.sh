# Shell functions the Wine runs share (sourced, not run).

# The Windows path of a host file: Wine maps drive Z: to the host's root.
windows_path() { local path; path=$(realpath -m "$1"); printf 'Z:%s' "${path//\//\\}"; }

# Makes a fresh Wine prefix in DIR: Wine as it comes, without the Mono and
# Gecko installers it would otherwise ask for.
make_fresh_prefix() {  # dir
  WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree=;mshtml=" wineboot -u >/dev/null 2>&1
  WINEPREFIX="$1" stop_wineserver
}

# Makes a Wine prefix that starts as a copy of another: its files are hard
# links, which costs nothing, except the registry files, which Wine rewrites
# in place and which are therefore copied. Nothing else in a prefix is
# written to during a run (new files go into the copy's own directories), so
# each copy is a prefix of its own, with its own wineserver.
copy_prefix() {  # from to
  rm -rf "$2"
  cp -a --link "$1" "$2"
  local registry
  for registry in "$1"/*.reg; do
    rm "$2/${registry##*/}"
    cp -a "$registry" "$2/"
  done
}

# Stops the wineserver of WINEPREFIX and waits until it has written the
# registry and gone.
stop_wineserver() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

# Registers the simulated laptop's component DLL in WINEPREFIX, machine-wide
# (Wine 8 ignores a per-user class registration): for the modem's and
# CryptographicBuffer's Windows Runtime classes (replacing Wine's
# CryptographicBuffer, whose byte-array methods are not implemented), and as
# the in-process server of CLSID_WbemLocator (in place of Wine's WMI).
register_component() {  # dll
  local dll class locator='HKCR\CLSID\{4590F811-1D3A-11D0-891F-00AA004B2E24}\InprocServer32'
  dll=$(windows_path "$1")
  for class in Windows.Networking.NetworkOperators.MobileBroadbandModem \
               Windows.Security.Cryptography.CryptographicBuffer; do
    wine reg add "HKLM\\Software\\Microsoft\\WindowsRuntime\\ActivatableClassId\\$class" \
      /v DllPath /t REG_SZ /d "$dll" /f >/dev/null 2>&1
  done
  wine reg add "$locator" /ve /t REG_SZ /d "$dll" /f >/dev/null 2>&1
  wine reg add "$locator" /v ThreadingModel /t REG_SZ /d Both /f >/dev/null 2>&1
}
