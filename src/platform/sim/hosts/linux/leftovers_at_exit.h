// The Linux host's exit work: at process exit, after the program's own
// program-wide objects are gone, everything the simulated Windows surface
// handed out must have come back.
#pragma once

namespace sim {

// Reports what is left on standard error, one line per kind, and then ends
// the process with status 4; returns when nothing is left.
void ReportLeftovers();

}  // namespace sim
