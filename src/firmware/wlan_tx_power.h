// The two WLAN transmit-power commands of the platform firmware. Each is one
// complete ExecINT call; neither reports an outcome.
#pragma once

// Asks the firmware for reduced WLAN transmit power; four of its lines are
// also written to the debugger output.
void SetWLANTxState_WLANREDUCE();

// Asks the firmware for normal WLAN transmit power again.
void SetWLANTxState_WLANNORMAL();
