// What the component DLL hands the laptop model when Windows loads it, from a
// static initializer. It has no exit work: the objects it hands out are
// counted by Windows, not by the laptop, and Windows ends the threads of
// work still pending when the process exits. The process's COM security belongs to
// the real COM, which offers no way to read it back (CoQueryProxyBlanket would
// only ask the services object itself), so the component takes the level the
// system's CoInitializeSecurity asks for, impersonate: a call with no blanket
// of its own is served, and ExecMethod is refused for a too-low level only on
// the Linux host, where the simulated surface knows what was set.
#include "sim/model/host_services.h"

namespace {

DWORD ImpersonateLevel() { return RPC_C_IMP_LEVEL_IMPERSONATE; }

[[maybe_unused]] const bool attached = (sim::AttachHost({nullptr, ImpersonateLevel}), true);

}  // namespace
