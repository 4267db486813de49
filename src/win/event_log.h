// The Windows Application log, the program's channel for whoever looks after
// a fleet: events are reported under the source "sar-coordinator", and their
// texts and IDs come from the message table built into the program
// (packaging/windows/sar-coordinator-events.mc).
#pragma once

#include <initializer_list>
#include <string>

#include "platform.h"

enum class EventType : WORD {
    Information = EVENTLOG_INFORMATION_TYPE,
    Warning = EVENTLOG_WARNING_TYPE,
    Error = EVENTLOG_ERROR_TYPE,
};

// Reports one event with its insertion strings (%1, %2, ... of its message).
// The event log stands beside the console and the debugger output and is
// never a reason to stop: a source that cannot be registered or an event that
// cannot be written is passed over.
void ReportToEventLog(EventType type, DWORD eventId, std::initializer_list<std::wstring> strings);
