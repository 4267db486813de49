// Commands on a session of the modem's SAR device service: opening the
// session, and sending one command and waiting for its result. The SAR
// configuration set, the poll's set and query, and the read-only queries all
// go through here.
#pragma once

#include <array>

#include "byte_buffers.h"
#include "platform.h"
#include "win/com_ptr.h"

using CommandSession = winrt_abi::IMobileBroadbandDeviceServiceCommandSession;
using CommandOperation = winrt_abi::ICommandResultAsyncOperation;
using CommandResult = winrt_abi::IMobileBroadbandDeviceServiceCommandResult;

enum class CommandKind { Set, Query };

// The information buffer every query goes out with: a query carries no
// parameters, but 8 zero bytes go with it, not an empty buffer.
inline constexpr std::array<BYTE, 8> kQueryPayload{};

// A command session on service; empty when the platform hands out none
// without reporting a failure. A failure is raised.
com_ptr<CommandSession> OpenCommandSession(winrt_abi::IMobileBroadbandDeviceService& service);

// Sends one command with payload as its information buffer, keeps the
// pending operation in `operation` (releasing what it held first), waits for
// it to complete (WaitForCommandResult) and returns its command result. A
// failure of the send, a send that hands out no operation, and a failure of
// the wait are raised.
com_ptr<CommandResult> SendAndWait(CommandSession& session, CommandKind kind, UINT32 command,
                                   winrt_abi::IBuffer* payload, com_ptr<CommandOperation>& operation);

// A copy of the reply, the result's information buffer; the response buffer
// it comes in is released at once. A failure, or a result that hands out no
// response buffer, is raised.
TaskMemoryBytes CopyReply(CommandResult& result);
