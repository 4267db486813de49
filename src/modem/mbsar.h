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

// Sets and queries the modem's transmission status and updates
// TransmissionActive. 0 when the poll completed (or no command session could
// be had), a non-zero MBIM status when the modem rejected a command, 1 when a
// failure was caught.
uint32_t GetTransmissionStatus();

}  // namespace MBSar

// True when the last successfully parsed transmission-status query reported
// an active transmission. Main thread only.
extern bool TransmissionActive;
