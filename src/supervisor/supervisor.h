// The supervisor: starts the modem side, then turns each change of the modem's
// transmission state into one WLAN transmit-power command, until the modem
// radio goes off or the program is asked to stop.
#pragma once

// Exit statuses of the program.
inline constexpr int kExitRadioOff = 0;        // the loop ended: the radio is off, or the program was asked to stop
inline constexpr int kExitFatalFailure = 1;    // a failure left the entry point
inline constexpr int kExitModemMissing = 3;    // no modem, or no SAR device service on it
inline constexpr int kExitAlreadyRunning = 5;  // another instance runs; this one touched nothing

// Runs the program to its end and returns its exit status.
int RunSupervisor();
