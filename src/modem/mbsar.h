// The modem SAR client's operations, as the supervisor loop uses them.
#pragma once

#include <cstdint>
#include <string>

namespace MBSar {

// Why the modem side cannot work on this machine (no mobile broadband modem,
// or no SAR device service on it), as one line of text; empty when it can.
// Sends no modem command. An allocation failure met while the program-wide
// modem objects were made, before the entry point, is raised here.
std::string Unavailable();

// Hands SAR control to the operating system with the fixed SAR configuration.
// 0 on success or when no command session could be had, the modem's status
// when it rejected the command, 1 when a platform failure was caught.
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
