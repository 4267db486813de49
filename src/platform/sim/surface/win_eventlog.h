// The Windows event log of the simulated platform: an event source of the
// local Application log, and the events reported under it, which the
// simulated laptop writes to SAR_SIM_EVENT_LOG.
#pragma once

#include "sim/surface/win_types.h"

using PSID = void*;

enum : WORD {
    EVENTLOG_SUCCESS = 0x0000,
    EVENTLOG_ERROR_TYPE = 0x0001,
    EVENTLOG_WARNING_TYPE = 0x0002,
    EVENTLOG_INFORMATION_TYPE = 0x0004,
};

// A handle to the named source of the local machine; null (with no handle
// made) for a remote server or a missing name.
HANDLE RegisterEventSourceW(LPCWSTR lpUNCServerName, LPCWSTR lpSourceName);
BOOL ReportEventW(HANDLE hEventLog, WORD wType, WORD wCategory, DWORD dwEventID, PSID lpUserSid, WORD wNumStrings,
                  DWORD dwDataSize, LPCWSTR* lpStrings, LPVOID lpRawData);
BOOL DeregisterEventSource(HANDLE hEventLog);
