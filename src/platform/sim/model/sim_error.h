// How the simulated laptop stops when it is set up wrongly (a malformed
// scenario, a bad environment variable): one line on standard error naming
// what is wrong, then exit status 2, before the system runs any further.
#pragma once

#include <string>

namespace sim {

inline constexpr int kSetupErrorExitStatus = 2;

[[noreturn]] void StopSimulation(const std::string& reason);

}  // namespace sim
