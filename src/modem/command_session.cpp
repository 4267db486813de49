#include "command_session.h"

#include "async_wait.h"
#include "win/hresult_error.h"

com_ptr<CommandSession> OpenCommandSession(winrt_abi::IMobileBroadbandDeviceService& service) {
    com_ptr<CommandSession> session;
    check_hresult(service.OpenCommandSession(session.put()));
    return session;
}

com_ptr<CommandResult> SendAndWait(CommandSession& session, CommandKind kind, UINT32 command,
                                   winrt_abi::IBuffer* payload, com_ptr<CommandOperation>& operation) {
    check_hresult(kind == CommandKind::Set ? session.SendSetCommandAsync(command, payload, operation.put())
                                           : session.SendQueryCommandAsync(command, payload, operation.put()));
    check_present(operation);
    return WaitForCommandResult(*operation);
}

TaskMemoryBytes CopyReply(CommandResult& result) {
    com_ptr<winrt_abi::IBuffer> response;
    check_hresult(result.get_ResponseData(response.put()));
    check_present(response);
    return TaskMemoryBytes::CopyOf(*response);
}
