// The modem SAR client's operations, as the supervisor loop uses them.
#pragma once

#include <cstdint>
#include <stdexcept>

namespace MBSar {

// The modem side cannot work on this machine: there is no mobile broadband
// modem, or the modem hands out no SAR device service. what() is one line
// saying which.
struct ModemUnavailable : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Raises ModemUnavailable when the program-wide modem objects could not be
// made. Sends no modem command. An allocation failure met while they were
// made, before the entry point, is raised here.
void RequireModem();

// Hands SAR control to the operating system with the fixed SAR configuration.
// 0 on success or when no command session could be had, the modem's status
// when it rejected the command, 1 when a platform failure was caught. A modem
// that reports success yet hands out no SAR device service raises
// ModemUnavailable.
uint32_t InitSAR();

// The modem's radio state, 0 off and 1 on; 0 when it cannot be read.
int32_t GetRadioState();

// What went wrong in a poll; the last thing, when several did.
struct PollFailure {
    enum class Kind {
        None,
        NoSession,      // no command session could be had: nothing was sent
        Platform,       // a platform call failed: code is its HRESULT
        SetRejected,    // the modem answered the SET with a non-zero status: code is that MBIM status
        QueryRejected,  // the same for the QUERY
        TimedOut,       // a command did not complete in time: code is HRESULT_FROM_WIN32(ERROR_TIMEOUT)
        ShortReply,     // a reply too short to hold the status record: code is its length in bytes
    };
    Kind kind = Kind::None;
    uint32_t code = 0;

    bool operator==(const PollFailure&) const = default;
};

struct PollOutcome {
    // This poll's QUERY was answered with status 0, so TransmissionActive
    // holds the modem's answer, whatever else failed.
    bool freshAnswer = false;
    PollFailure failure;

    bool operator==(const PollOutcome&) const = default;
};

// Sets and queries the modem's transmission status, prints both answers and
// updates TransmissionActive from the query's.
PollOutcome GetTransmissionStatus();

// Makes the program-wide modem objects anew, for a modem that may have reset
// or re-attached; the ones before are released here. True when there is a
// modem to work with, false when there is none (the verdict is
// DefaultModem::Unavailable()). Sends no modem command. An allocation
// failure is raised.
bool ReacquireModem();

}  // namespace MBSar

// True when the last successfully parsed transmission-status query reported
// an active transmission. Main thread only.
extern bool TransmissionActive;
