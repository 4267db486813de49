// What the host of the laptop model hands it when the process starts. The
// model reaches no layer above it: what only a host knows, the host gives it
// here, before the system runs (the Linux host from a static initializer, the
// component DLL when Windows loads it). A process whose host hands nothing
// over (a test of the model alone) gets the defaults noted below.
#pragma once

#include "platform.h"

namespace sim {

struct HostServices {
    // Run once when the process ends, after all of the laptop's own exit
    // work; none when null.
    void (*exitWork)() = nullptr;

    // The impersonation level a call on the firmware carries when its proxy
    // has no blanket of its own: the process's COM security. COM's default,
    // identify, when null.
    DWORD (*processImpersonationLevel)() = nullptr;
};

void AttachHost(const HostServices& services);

// Registers with std::atexit the running of the host's exit work. The laptop
// calls it once, when it is made, before any exit work of its own, so that
// the host's runs after all of it.
void RegisterHostExitWork();

// The impersonation level of the process's COM security, as the host tells it.
DWORD ProcessImpersonationLevel();

}  // namespace sim
