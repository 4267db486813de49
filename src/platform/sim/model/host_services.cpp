#include "sim/model/host_services.h"

#include <cstdlib>

namespace sim {
namespace {

// Constant-initialized, so that the host may attach from any static
// initializer, whatever the order of the translation units.
constinit HostServices attached;

constexpr DWORD kComDefaultImpersonationLevel = 2;  // RPC_C_IMP_LEVEL_IDENTIFY

void RunHostExitWork() {
    if (attached.exitWork != nullptr) attached.exitWork();
}

}  // namespace

void AttachHost(const HostServices& services) { attached = services; }

void RegisterHostExitWork() { std::atexit(RunHostExitWork); }

DWORD ProcessImpersonationLevel() {
    return attached.processImpersonationLevel != nullptr ? attached.processImpersonationLevel()
                                                         : kComDefaultImpersonationLevel;
}

}  // namespace sim
