// What the program reports to the Windows event log, and when. Each condition
// is reported once when it begins and once when it ends, never again within
// one lapse, so a laptop's log holds one event per change an administrator
// needs to know of.
#pragma once

// A failure the program cannot go on from ends the run (status 1); what()
// of the failure, or a word for it, goes with the event. Never throws: the
// failure being reported may be exhausted memory.
void ReportFatalFailure(const char* what) noexcept;
