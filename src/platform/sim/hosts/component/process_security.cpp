// The process's COM security as the component DLL's firmware sees it. In a
// Windows process it belongs to the real COM, which offers no way to read it
// back (CoQueryProxyBlanket would only ask the services object itself). The
// component takes the level the system's CoInitializeSecurity asks for,
// impersonate: a call with no blanket of its own is served, and ExecMethod is
// refused for a too-low level only on the Linux host, where the simulated
// surface knows what CoInitializeSecurity set.
#include "com_security.h"

namespace sim {

DWORD ProcessImpersonationLevel() { return RPC_C_IMP_LEVEL_IMPERSONATE; }

}  // namespace sim
