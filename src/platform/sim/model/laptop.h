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

#include "sim/model/scenario.h"

namespace sim {

// A value that holds for the next `remaining` uses only (kUnlimited: until
// replaced), after which its default comes back.
template <typename T>
struct Limited {
    T value{};
    int64_t remaining = kUnlimited;
};

// Transmission that switches on and off by itself: active for activeMs,
// then inactive for idleMs, over and over from startMs on.
struct TransmissionCycle {
    uint64_t startMs = 0;
    uint32_t activeMs = 0;
    uint32_t idleMs = 0;

    bool ActiveAt(uint64_t ms) const { return (ms - startMs) % (uint64_t{activeMs} + idleMs) < activeMs; }
};

struct LaptopState {
    bool modemPresent = true;
    bool radioOn = true;
    bool transmissionActive = false;
    std::optional<TransmissionCycle> transmissionCycle;  // when set, it decides transmissionActive
    bool sessionAvailable = true;
    uint32_t latencyMs = 5;
    std::optional<uint32_t> replyLength;  // empty: full-length replies
    uint32_t firmwareInstances = 1;
    std::map<std::string, Limited<uint32_t>, std::less<>> statuses;  // by command: sar-config, tx-set, tx-query
    std::map<std::string, Limited<int32_t>, std::less<>> faults;     // by platform call name
    std::map<std::string, Limited<bool>, std::less<>> missingObjects; // by platform call name
};

class Laptop {
public:
    // Replaces the timeline and starts again from the initial state.
    void Load(std::vector<ScenarioEvent> events);

    // The state now, with every event due applied.
    LaptopState Now();

    // The HRESULT the named platform call is to fail with now (S_OK: none);
    // a limited fault is used up by this call. A fault that fires takes 1 ms
    // of virtual time. The name must be one of the fault points.
    int32_t TakeFault(std::string_view call);

    // The same for a call given one argument: a fault of the whole call
    // ("fail Get") or, failing that, one narrowed to this argument ("fail
    // Get:OutEDX"; characters outside ASCII as '?'). A null argument takes
    // only the former.
    int32_t TakeFault(std::string_view call, const wchar_t* argument);

    // Whether the named call, about to hand out an object, is to succeed
    // without one now ("none NAME"); a limited one is used up by this call.
    // Like a fault, it takes 1 ms of virtual time when it fires.
    bool TakeMissingObject(std::string_view call);
    bool TakeMissingObject(std::string_view call, const wchar_t* argument);

    // The MBIM status the modem answers to this command now (0: success);
    // a limited status is used up by this command.
    uint32_t TakeStatus(std::string_view command);

    // The radio, transmission and other events applied so far, with every
    // event due now applied first, in file order.
    std::vector<ScenarioEvent> AppliedEvents();

private:
    // Takes what the scenario injects into a call from one of the state's
    // tables; what fires takes 1 ms of virtual time.
    template <typename T>
    T TakeInjected(std::map<std::string, Limited<T>, std::less<>>& table, std::string_view call);

    void ApplyDueEvents();
    void Apply(const ScenarioEvent& event);

    std::mutex mutex_;
    std::vector<ScenarioEvent> events_;
    size_t nextEvent_ = 0;
    LaptopState state_;
};

// The one laptop of the process, made on first use: it registers the host's
// exit work (host_services.h), loads the scenario and opens the modem and
// firmware logs. A malformed scenario, or a log that cannot be written, stops
// the program there, naming what is wrong.
Laptop& TheLaptop();

}  // namespace sim
