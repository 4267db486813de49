// MBSar::GetTransmissionStatus: sets the modem's transmission status (channel
// notification on, hysteresis timer 1), queries it, prints both answers and
// keeps whether the modem is transmitting in TransmissionActive.
#include <array>
#include <cstdio>
#include <new>
#include <stdexcept>

#include "async_wait.h"
#include "byte_buffers.h"
#include "command_session.h"
#include "default_modem.h"
#include "modem/mbsar.h"
#include "transmission_record.h"
#include "win/hresult_error.h"

bool TransmissionActive = false;

namespace {

// MBIM_MS_SET_TRANSMISSION_STATUS: ChannelNotification 1, HysteresisTimer 1.
constexpr std::array<BYTE, 8> kSetPayload{0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00};

using Failure = MBSar::PollFailure;

// Everything one poll holds, declared in order of making and so released in
// reverse on every path out of it.
struct Poll {
    MBSar::PollOutcome outcome;
    TransmissionStatusRecord record;
    com_ptr<winrt_abi::IBuffer> payload;
    TaskMemoryBytes reply;
    com_ptr<winrt_abi::IMobileBroadbandDeviceService> service;
    com_ptr<CommandSession> session;
    com_ptr<CommandOperation> operation;
    com_ptr<CommandResult> result;
    com_ptr<winrt_abi::IBuffer> response;

    // Sends one command on the session, waits for it and takes its response
    // buffer, then its status code.
    UINT32 Send(CommandKind kind) {
        result = SendAndWait(*session, kind, kTransmissionStatusCommand, payload.get(), operation);
        check_hresult(result->get_ResponseData(response.put()));
        UINT32 status = 0;
        check_hresult(result->get_StatusCode(&status));
        return status;
    }

    // Copies the response out, fills the record from it and prints it.
    void Report() {
        check_present(response);
        reply = TaskMemoryBytes::CopyOf(*response);
        record = ReadTransmissionStatus(reply.data(), reply.size());
        PrintTransmissionStatus(record);
    }

    // Everything but the catching of failures; the outcome so far stays
    // here when a failure ends the poll.
    void Run() {
        payload = BufferFromBytes(kSetPayload);
        service = OpenSarService();
        session = OpenCommandSession(*service);
        if (!session) {  // nothing sent, TransmissionActive unchanged
            outcome.failure = {Failure::Kind::NoSession, 0};
            return;
        }

        if (const UINT32 status = Send(CommandKind::Set); status == 0) {
            Report();
            check_hresult(session->CloseSession());
        } else {
            printf("\nset transmission status failed\n");
            outcome.failure = {Failure::Kind::SetRejected, status};
        }

        // The second session replaces the first, which was closed above or is
        // only released here after a rejected set.
        session = OpenCommandSession(*service);
        check_present(session);
        record = {};
        payload = BufferFromBytes(kQueryPayload);
        reply.reset();

        if (const UINT32 status = Send(CommandKind::Query); status == 0) {
            Report();
            TransmissionActive = record.Active();
            outcome.freshAnswer = true;
        } else {
            printf("\nset transmission status failed\n");
            outcome.failure = {Failure::Kind::QueryRejected, status};
        }
        check_hresult(session->CloseSession());
    }

    // The failure being handled, as the outcome tells it.
    Failure CaughtFailure() const {
        try {
            throw;
        } catch (const hresult_error& failure) {
            const auto kind = failure.code() == kCommandTimedOut ? Failure::Kind::TimedOut : Failure::Kind::Platform;
            return {kind, static_cast<uint32_t>(failure.code())};
        } catch (const std::bad_alloc&) {
            return {Failure::Kind::Platform, static_cast<uint32_t>(E_OUTOFMEMORY)};
        } catch (const std::out_of_range&) {
            return {Failure::Kind::ShortReply, reply.size()};
        } catch (const MBSar::ModemUnavailable&) {  // no SAR device service was handed out
            return {Failure::Kind::Platform, static_cast<uint32_t>(E_POINTER)};
        } catch (...) {
            return {Failure::Kind::Platform, static_cast<uint32_t>(E_FAIL)};
        }
    }
};

}  // namespace

// Every failure is caught: the objects are released, the failure text is
// printed, and TransmissionActive keeps what it held, or what this poll's
// query set before the failure.
MBSar::PollOutcome MBSar::GetTransmissionStatus() {
    Poll poll;
    try {
        poll.Run();
    } catch (...) {
        poll.outcome.failure = poll.CaughtFailure();
        printf("\naccess violation occured\n");
    }
    return poll.outcome;
}
