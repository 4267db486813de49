// The two WLAN transmit-power commands of the platform firmware. Each is one
// complete ExecINT call, and passes on what became of it: whether the
// firmware executed it, and if not, the step that failed with its status.
#pragma once

#include "firmware/exec_int.h"

// Asks the firmware for reduced WLAN transmit power; four of its lines are
// also written to the debugger output.
[[nodiscard]] ExecIntOutcome SetWLANTxState_WLANREDUCE();

// Asks the firmware for normal WLAN transmit power again.
[[nodiscard]] ExecIntOutcome SetWLANTxState_WLANNORMAL();
