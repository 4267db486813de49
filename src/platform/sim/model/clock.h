// The simulated laptop's clock, and the work it does at given moments on it
// (a modem answering once its latency has passed). Real by default; with
// SAR_SIM_CLOCK=virtual time stands still until Sleep, a wait with a time
// limit or an injected fault advances it, so runs are instant and exactly
// repeatable.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace sim {

bool ClockIsVirtual();

// Milliseconds since the laptop started (virtual or real).
uint64_t NowMs();

// Blocks for ms on the real clock; advances the virtual clock by ms at once,
// as AdvanceTo does.
void PassMs(uint64_t ms);

// Virtual clock: advances it to ms (never back), running on the way, in time
// order, the timed work that falls due by then; each runs on a completion
// thread of its own, and the clock waits for it before going on.
void AdvanceTo(uint64_t ms);

// Virtual clock: the moment the next timed work falls due; none when no work
// is pending.
std::optional<uint64_t> NextWorkDueMs();

// Work the laptop does on a completion thread once its moment has come. On
// the virtual clock it runs when the clock is advanced to its moment; on the
// real clock its thread sleeps until then, and wakes early when the work is
// brought forward or dropped.
class TimedWork {
public:
    virtual ~TimedWork() = default;

    // Makes the work due ms from now, unless it is due sooner or has started.
    virtual void BringForward(uint64_t ms) = 0;
};

// Schedules work to run ms from now. Throws std::bad_alloc, or
// std::system_error when no thread can be started for it.
std::shared_ptr<TimedWork> RunAfter(uint64_t ms, std::function<void()> work);

// Drops the pending work without running it, and with it whatever it holds;
// on the real clock its threads wake and end. The Linux host does this at
// exit, before it counts what is left over.
void DropTimedWork();

// Tests: switch to the virtual clock, drop the pending work and set the clock
// back to 0.
void RestartVirtualClock();

}  // namespace sim
