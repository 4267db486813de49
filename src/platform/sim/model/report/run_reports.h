// The files a run leaves for its user at exit: the SAR exposure report
// (SAR_SIM_REPORT, JSON) and the timeline (SAR_SIM_TIMELINE, SVG).
#pragma once

namespace sim {

// Called once, when the laptop is made: opens the files the environment
// names, refusing one that cannot be written as a set-up error, starts the
// run's record and has both files written when the process exits. Without
// either variable it does nothing.
void RegisterRunReportsAtExit();

}  // namespace sim
