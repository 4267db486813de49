// COM security as the simulated firmware sees its callers. A call on the
// services object carries the blanket set on it (CoSetProxyBlanket), else the
// process's COM security. Only the host knows the latter: on Linux the
// simulated surface, which keeps what CoInitializeSecurity set; in the
// component DLL the host's own answer, since the real COM keeps it.
#pragma once

#include "platform.h"

namespace sim {

// The highest authentication and impersonation levels COM knows; a security
// setting or blanket above them is an invalid argument.
inline constexpr DWORD kHighestAuthenticationLevel = 6;  // RPC_C_AUTHN_LEVEL_PKT_PRIVACY
inline constexpr DWORD kHighestImpersonationLevel = 4;   // RPC_C_IMP_LEVEL_DELEGATE

// The impersonation level calls carry when no blanket of their own was set.
DWORD ProcessImpersonationLevel();

}  // namespace sim
