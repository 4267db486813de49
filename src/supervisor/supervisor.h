// The supervisor: starts the modem side, then turns each change of the modem's
// transmission state into one WLAN transmit-power command, until the modem
// radio goes off.
#pragma once

// Exit statuses of the program.
inline constexpr int kExitRadioOff = 0;       // the loop ended because the radio is off
inline constexpr int kExitFatalFailure = 1;   // a failure left the entry point
inline constexpr int kExitModemMissing = 3;   // no modem, or no SAR device service on it

// Runs the program to its end and returns its exit status.
int RunSupervisor();
