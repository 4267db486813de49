// Read-only use of the default modem's SAR device service: queries only,
// never a set, so nothing on the modem changes.
#pragma once

#include "byte_buffers.h"
#include "command_session.h"
#include "platform.h"
#include "win/com_ptr.h"

struct QueryAnswer {
    UINT32 status = 0;       // the MBIM status; 0 is success
    TaskMemoryBytes reply;   // the reply's information buffer, when the status is 0
};

class SarQuerySession {
public:
    // Obtains the SAR device service of the default modem and opens a
    // command session on it. Raises hresult_error when the platform fails,
    // and MBSar::ModemUnavailable when there is no modem or it hands out no
    // service or no session.
    SarQuerySession();

    // Sends a query of command (with kQueryPayload) and waits for its answer.
    // A failure on the platform's side is raised.
    QueryAnswer Query(UINT32 command);

private:
    // Declared in order of making, so they are released in reverse.
    com_ptr<winrt_abi::IBuffer> payload_;
    com_ptr<winrt_abi::IMobileBroadbandDeviceService> service_;
    com_ptr<CommandSession> session_;
};
