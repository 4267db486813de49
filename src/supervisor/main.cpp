// The entry point: runs the supervisor and is the last line of defence. A
// failure that escapes is reported in one console line and one event-log
// error, and ends the process with kExitFatalFailure; WLAN power is not
// touched on that path, since the modem may still be transmitting.
#include <cstdio>

#include "event_reports.h"
#include "supervisor.h"
#include "win/last_line_of_defence.h"

namespace {

int ReportFatal(const char* what) {
    printf("\nsar-coordinator stopped: %s\n", what);
    ReportFatalFailure(what);
    return kExitFatalFailure;
}

}  // namespace

int main() { return RunWithLastLineOfDefence(RunSupervisor, ReportFatal); }
