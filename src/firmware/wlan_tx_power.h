// The two WLAN transmit-power commands of the platform firmware. Each is one
// complete ExecINT call, and says whether the firmware executed it.
#pragma once

// Asks the firmware for reduced WLAN transmit power; four of its lines are
// also written to the debugger output. True when the command took effect.
[[nodiscard]] bool SetWLANTxState_WLANREDUCE();

// Asks the firmware for normal WLAN transmit power again. True when the
// command took effect.
[[nodiscard]] bool SetWLANTxState_WLANNORMAL();
