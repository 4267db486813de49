#include "sim_error.h"

#include <cstdio>
#include <cstdlib>

namespace sim {

void StopSimulation(const std::string& reason) {
    std::fflush(stdout);
    std::fprintf(stderr, "simulated laptop: %s\n", reason.c_str());
    std::fflush(stderr);
    std::_Exit(kSetupErrorExitStatus);
}

}  // namespace sim
