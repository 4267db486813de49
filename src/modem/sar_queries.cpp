#include "sar_queries.h"

#include "default_modem.h"
#include "modem/mbsar.h"
#include "win/hresult_error.h"

SarQuerySession::SarQuerySession() {
    MBSar::RequireModem();
    payload_ = BufferFromBytes(kQueryPayload);
    service_ = OpenSarService();
    session_ = OpenCommandSession(*service_);
    if (!session_) throw MBSar::ModemUnavailable("The SAR device service hands out no command session");
}

QueryAnswer SarQuerySession::Query(UINT32 command) {
    com_ptr<CommandOperation> operation;
    const com_ptr<CommandResult> result =
        SendAndWait(*session_, CommandKind::Query, command, payload_.get(), operation);
    QueryAnswer answer;
    check_hresult(result->get_StatusCode(&answer.status));
    if (answer.status == 0) answer.reply = CopyReply(*result);
    return answer;
}
