// The entry point: runs the supervisor and is the last line of defence. A
// failure that escapes is reported in one console line and one event-log
// error, and ends the process with kExitFatalFailure; WLAN power is not
// touched on that path, since the modem may still be transmitting.
#include <cstdio>
#include <exception>
#include <new>

#include "event_reports.h"
#include "supervisor.h"

namespace {

int ReportFatal(const char* what) {
    printf("\nsar-coordinator stopped: %s\n", what);
    ReportFatalFailure(what);
    return kExitFatalFailure;
}

}  // namespace

int main() {
    try {
        return RunSupervisor();
    } catch (const std::bad_alloc&) {
        return ReportFatal("out of memory");
    } catch (const std::exception& failure) {
        return ReportFatal(failure.what());
    } catch (...) {
        return ReportFatal("unknown failure");
    }
}
