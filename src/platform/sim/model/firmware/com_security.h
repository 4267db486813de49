// COM security of the simulated process: set once by CoInitializeSecurity,
// and what a proxy's calls run with when no blanket of its own was set.
#pragma once

#include "platform.h"

namespace sim {

// The impersonation level calls on a proxy carry: the proxy's own blanket if
// one was set, else the process's security, else COM's default (identify).
DWORD EffectiveImpersonationLevel(const DWORD* proxyBlanketLevel);

// A proxy whose calls carry a security blanket (CoSetProxyBlanket).
class SecuredProxy {
public:
    virtual void SetImpersonationLevel(DWORD level) = 0;

protected:
    ~SecuredProxy() = default;
};

}  // namespace sim
