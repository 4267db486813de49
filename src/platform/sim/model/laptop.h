// The simulated laptop's state over time. Every platform call of the
// simulator asks it what the laptop looks like now: at time t the laptop is in
// the state given by every scenario event at or before t, applied in file
// order. The scenario comes from SAR_SIM_SCENARIO, or the built-in default.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "scenario.h"

namespace sim {

// A value that holds for the next `remaining` uses only (kUnlimited: until
// replaced), after which its default comes back.
template <typename T>
struct Limited {
    T value{};
    int64_t remaining = kUnlimited;
};

struct LaptopState {
    bool modemPresent = true;
    bool radioOn = true;
    bool transmissionActive = false;
    bool sessionAvailable = true;
    uint32_t latencyMs = 5;
    std::optional<uint32_t> replyLength;  // empty: full-length replies
    uint32_t firmwareInstances = 1;
    std::map<std::string, Limited<uint32_t>, std::less<>> statuses;  // by command: sar-config, tx-set, tx-query
    std::map<std::string, Limited<int32_t>, std::less<>> faults;     // by platform call name
};

class Laptop {
public:
    // Replaces the timeline and starts again from the initial state.
    void Load(std::vector<ScenarioEvent> events);

    // The state now, with every event due applied.
    LaptopState Now();

    // The HRESULT the named platform call is to fail with now (S_OK: none);
    // a limited fault is used up by this call. A fault that fires takes 1 ms
    // of virtual time.
    int32_t TakeFault(std::string_view call);

    // The MBIM status the modem answers to this command now (0: success);
    // a limited status is used up by this command.
    uint32_t TakeStatus(std::string_view command);

    // The radio, transmission and other events applied so far, with every
    // event due now applied first, in file order.
    std::vector<ScenarioEvent> AppliedEvents();

private:
    void ApplyDueEvents();
    void Apply(const ScenarioEvent& event);

    std::mutex mutex_;
    std::vector<ScenarioEvent> events_;
    size_t nextEvent_ = 0;
    LaptopState state_;
};

// The one laptop of the process, loaded on first use; a malformed scenario
// stops the program there, naming file, line and reason.
Laptop& TheLaptop();

}  // namespace sim
