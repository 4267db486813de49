#include "event_reports.h"

#include "sar-coordinator-events.h"
#include "win/event_log.h"
#include "win/text.h"

void ReportFatalFailure(const char* what) noexcept {
    try {
        ReportToEventLog(EventType::Error, MSG_FATAL_FAILURE, {Wide(what)});
    } catch (...) {
        // Nothing is left to report it with; the console line has said it.
    }
}
