// The simulated laptop. Every platform call of the simulator asks it what the
// laptop looks like now: the state of its timeline (laptop_state.h) at the
// laptop's clock. The scenario comes from SAR_SIM_SCENARIO, or the built-in
// default.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "sim/model/laptop_state.h"
#include "sim/model/scenario.h"

namespace sim {

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

    // Whether the operation the named call starts is to hang now ("hang
    // NAME"); a limited one is used up by this call. It takes no time.
    bool TakeHang(std::string_view call);

    // The radio, transmission and other events applied so far, with every
    // event due now applied first, in file order.
    std::vector<ScenarioEvent> AppliedEvents();

private:
    // Takes what the scenario injects into a call from one of the state's
    // tables; what fires takes 1 ms of virtual time.
    template <typename T>
    T TakeInjected(std::map<std::string, Limited<T>, std::less<>> LaptopState::*table, std::string_view call);

    std::mutex mutex_;
    LaptopTimeline timeline_;
};

// The one laptop of the process, made on first use (the_laptop.cpp): it
// registers the host's exit work (host_services.h), loads the scenario,
// schedules its stop requests (stop_request.h) and opens the logs. A
// malformed scenario, or a log that cannot be written, stops the program
// there, naming what is wrong.
Laptop& TheLaptop();

}  // namespace sim
