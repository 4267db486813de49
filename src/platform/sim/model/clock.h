// The simulated laptop's clock. Real by default; with SAR_SIM_CLOCK=virtual
// time stands still until Sleep or a modem command advances it, so runs are
// instant and exactly repeatable.
#pragma once

#include <cstdint>

namespace sim {

bool ClockIsVirtual();

// Milliseconds since the laptop started (virtual or real).
uint64_t NowMs();

// Blocks for ms on the real clock; advances the virtual clock at once.
void PassMs(uint64_t ms);

// Tests: switch to the virtual clock and set it back to 0.
void RestartVirtualClock();

}  // namespace sim
