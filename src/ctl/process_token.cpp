#include "process_token.h"

#include "platform.h"
#include "win/hresult_error.h"
#include "win/owned_handle.h"
#include "win/text.h"

namespace {

void CheckWin32(BOOL succeeded) {
    if (!succeeded) throw_hresult(HRESULT_FROM_WIN32(GetLastError()));
}

OwnedHandle OpenOwnToken() {
    HANDLE token = nullptr;
    CheckWin32(OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token));
    return OwnedHandle(token);
}

bool IsElevated(HANDLE token) {
    TOKEN_ELEVATION elevation{};
    DWORD length = 0;
    CheckWin32(GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &length));
    return elevation.TokenIsElevated != 0;
}

// "DOMAIN\name" of the account a SID stands for.
std::string AccountName(PSID sid) {
    constexpr DWORD kCapacity = 257;  // the longest account and domain names, and a terminator
    wchar_t name[kCapacity];
    wchar_t domain[kCapacity];
    DWORD nameLength = kCapacity;
    DWORD domainLength = kCapacity;
    SID_NAME_USE use{};
    CheckWin32(LookupAccountSidW(nullptr, sid, name, &nameLength, domain, &domainLength, &use));
    return Utf8(domain) + "\\" + Utf8(name);
}

}  // namespace

ProcessToken ReadProcessToken() {
    const OwnedHandle token = OpenOwnToken();
    // A TOKEN_USER and the SID it points at, which the call places after it.
    alignas(TOKEN_USER) BYTE user[sizeof(TOKEN_USER) + SECURITY_MAX_SID_SIZE];
    DWORD length = 0;
    CheckWin32(GetTokenInformation(token.get(), TokenUser, user, sizeof user, &length));
    const PSID sid = reinterpret_cast<TOKEN_USER*>(user)->User.Sid;
    return {AccountName(sid), IsElevated(token.get()), IsWellKnownSid(sid, WinLocalSystemSid) != FALSE};
}
