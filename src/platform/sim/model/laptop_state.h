// The simulated laptop's state over a scenario's timeline: at time t it is
// the state given by every event at or before t, applied in file order, with
// a transmission cycle switching the transmission on and off by itself. This
// is the one definition of how the events apply: the laptop runs on it, and
// the exposure report traces the radio and the transmission through it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sim/model/process_token.h"
#include "sim/model/scenario.h"

namespace sim {

// A value that holds for the next `remaining` uses only (kUnlimited: until
// replaced), after which its default comes back.
template <typename T>
struct Limited {
    T value{};
    int64_t remaining = kUnlimited;

    bool operator==(const Limited&) const = default;
};

// Transmission that switches on and off by itself: active for activeMs,
// then inactive for idleMs, over and over from startMs on.
struct TransmissionCycle {
    uint64_t startMs = 0;
    uint32_t activeMs = 0;
    uint32_t idleMs = 0;

    bool ActiveAt(uint64_t ms) const { return (ms - startMs) % PeriodMs() < activeMs; }

    // The first moment after ms (not before startMs) at which it switches.
    uint64_t NextSwitchAfter(uint64_t ms) const {
        const uint64_t intoPeriod = (ms - startMs) % PeriodMs();
        return ms - intoPeriod + (intoPeriod < activeMs ? activeMs : PeriodMs());
    }

    uint64_t PeriodMs() const { return uint64_t{activeMs} + idleMs; }

    bool operator==(const TransmissionCycle&) const = default;
};

struct LaptopState {
    bool modemPresent = true;
    uint32_t modemGeneration = 0;         // how often the modem re-enumerated ("modem replaced")
    std::vector<bool> radioWhenReplaced;  // by generation: the radio state each replaced modem last had
    bool radioOn = true;
    bool transmissionActive = false;
    std::optional<TransmissionCycle> transmissionCycle;  // when set, it decides transmissionActive
    bool sessionAvailable = true;
    uint32_t latencyMs = 5;
    std::optional<uint32_t> replyLength;  // empty: full-length replies
    uint32_t firmwareInstances = 1;
    TokenKind token = TokenKind::Administrator;
    bool firmwareClassPresent = true;
    bool firmwareMethodPresent = true;
    // The CIM type the method's input signature declares for an input, by
    // its name, where a scenario set one (0: the signature lacks it); the
    // others are CIM_UINT32.
    std::map<std::string, uint32_t, std::less<>> firmwareInputTypes;
    std::map<std::string, Limited<uint32_t>, std::less<>> statuses;  // by command: sar-config, tx-set, tx-query
    std::map<std::string, Limited<int32_t>, std::less<>> faults;     // by platform call name
    std::map<std::string, Limited<bool>, std::less<>> missingObjects; // by platform call name
    std::map<std::string, Limited<bool>, std::less<>> hangs;          // by platform call name

    // The radio state as the device information of the modem of `generation`
    // reads it: live for the current modem, the last state it had for one
    // that was replaced.
    bool RadioOnFor(uint32_t generation) const {
        return generation < radioWhenReplaced.size() ? radioWhenReplaced[generation] : radioOn;
    }

    bool operator==(const LaptopState&) const = default;
};

class LaptopTimeline {
public:
    // At time 0, before any event: the initial state.
    explicit LaptopTimeline(std::vector<ScenarioEvent> events = {});

    // The state at ms: every event due by then applied, in file order.
    void AdvanceTo(uint64_t ms);

    // The state at the moment last advanced to. The laptop uses up limited
    // faults and statuses in it.
    LaptopState& State() { return state_; }
    const LaptopState& State() const { return state_; }

    // The events applied so far, in file order.
    std::vector<ScenarioEvent> Applied() const;

    // The next moment after the one last advanced to at which the state
    // changes, by an event or by a switch of a transmission cycle; none when
    // it never changes again.
    std::optional<uint64_t> NextChangeMs() const;

private:
    void Apply(const ScenarioEvent& event);

    std::vector<ScenarioEvent> events_;
    size_t nextEvent_ = 0;
    uint64_t nowMs_ = 0;
    LaptopState state_;
};

}  // namespace sim
