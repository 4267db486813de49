// The entry point of sar-coordinator-ctl, the program's companion: runs the
// verb the command line names and is the last line of defence. A failure
// that escapes is reported in one console line and ends the process with
// status 1: the check could tell nothing about the laptop (kExitNotReady),
// the stop nothing about the program (kExitProgramStillRuns).
#include <cstdio>

#include "check.h"
#include "command_line.h"
#include "win/last_line_of_defence.h"

namespace {

int ReportFatal(const char* what) {
    printf("sar-coordinator-ctl stopped: %s\n", what);
    return kExitNotReady;
}

}  // namespace

int main(int argc, char* argv[]) {
    return RunWithLastLineOfDefence([=] { return RunCommandLine({argv + (argc > 0 ? 1 : 0), argv + argc}); },
                                    ReportFatal);
}
