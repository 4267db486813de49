// MBSar::InitSAR: hands the modem's SAR control to the operating system with
// one fixed SAR configuration set command.
#include <array>

#include "byte_buffers.h"
#include "command_session.h"
#include "default_modem.h"
#include "modem/mbsar.h"
#include "win/apartment.h"
#include "win/hresult_error.h"

namespace {

// MBIM_MS_SET_SAR_CONFIG, 32-bit little-endian words: SAR mode 1 (operating
// system), back-off disabled, one configuration state at offset 20, 8 bytes
// long: antenna 0, back-off index 1.
constexpr std::array<BYTE, 28> kSarConfigRequest{
    0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x14,
    0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x00,
    0x00, 0x00};

uint32_t SendSarConfiguration() {
    // Declared in order of making; released in reverse: command result,
    // operation, session, service, reply bytes, request buffer.
    const com_ptr<winrt_abi::IBuffer> request = BufferFromBytes(kSarConfigRequest);
    TaskMemoryBytes reply;
    const com_ptr<winrt_abi::IMobileBroadbandDeviceService> service = OpenSarService();
    const com_ptr<CommandSession> session = OpenCommandSession(*service);
    if (!session) return 0;  // nothing to send on

    com_ptr<CommandOperation> operation;
    const com_ptr<CommandResult> result =
        SendAndWait(*session, CommandKind::Set, kSarConfigCommand, request.get(), operation);

    UINT32 status = 0;
    check_hresult(result->get_StatusCode(&status));
    if (status != 0) return status;

    // The reply (the configuration now in force) is copied out so that a
    // reply the platform cannot hand over counts as a failure; nothing else
    // here needs its contents. The session is released without being closed.
    reply = CopyReply(*result);
    return 0;
}

}  // namespace

uint32_t MBSar::InitSAR() {
    // A failed entry goes on regardless: the process's implicit multithreaded
    // apartment serves the calls, and the holder leaves only what it entered.
    RuntimeApartment apartment;
    apartment.Enter();
    try {
        return SendSarConfiguration();
    } catch (const hresult_error&) {
        return 1;
    }
}
