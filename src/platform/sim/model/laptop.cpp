#include "sim/model/laptop.h"

#include "sim/model/clock.h"
#include "sim/model/fault_points.h"
#include "sim/model/plain_text.h"
#include "sim/model/sim_error.h"

namespace sim {
namespace {

constexpr uint64_t kInjectedFaultMs = 1;

// A name the code takes faults under that the list lacks, or that the list
// does not give the kind of fault taken (`needed`), is a fault of the
// simulator itself: the scenario reader would refuse that line.
void CheckFaultPoint(std::string_view call, bool FaultPoint::*needed = nullptr) {
    const FaultPoint* point = FindFaultPoint(call);
    if (point == nullptr || (needed != nullptr && !(point->*needed)))
        StopSimulation("internal error: '" + std::string(call) + "' is missing from the list of fault points");
}

// "CALL:ARGUMENT", the name of a fault narrowed to one argument of a call.
std::string NarrowedName(std::string_view call, const wchar_t* argument) {
    return std::string(call) + ":" + AsciiText(argument);
}

template <typename T>
T Take(std::map<std::string, Limited<T>, std::less<>>& table, std::string_view key) {
    const auto found = table.find(key);
    if (found == table.end()) return T{};
    const T value = found->second.value;
    if (found->second.remaining != kUnlimited && --found->second.remaining == 0) table.erase(found);
    return value;
}

}  // namespace

void Laptop::Load(std::vector<ScenarioEvent> events) {
    std::lock_guard lock(mutex_);
    timeline_ = LaptopTimeline(std::move(events));
}

LaptopState Laptop::Now() {
    std::lock_guard lock(mutex_);
    timeline_.AdvanceTo(NowMs());
    return timeline_.State();
}

// What fires takes 1 ms of virtual time, so that a loop which retries a
// failing call at once still reaches the timeline's later events.
template <typename T>
T Laptop::TakeInjected(std::map<std::string, Limited<T>, std::less<>> LaptopState::*table, std::string_view call) {
    T taken{};
    {
        std::lock_guard lock(mutex_);
        timeline_.AdvanceTo(NowMs());
        taken = Take(timeline_.State().*table, call);
    }
    if (taken != T{} && ClockIsVirtual()) PassMs(kInjectedFaultMs);
    return taken;
}

int32_t Laptop::TakeFault(std::string_view call) {
    CheckFaultPoint(call);
    return TakeInjected(&LaptopState::faults, call);
}

int32_t Laptop::TakeFault(std::string_view call, const wchar_t* argument) {
    if (const int32_t fault = TakeFault(call); fault != 0 || argument == nullptr) return fault;
    return TakeFault(NarrowedName(call, argument));
}

bool Laptop::TakeMissingObject(std::string_view call) {
    CheckFaultPoint(call, &FaultPoint::handsOutObject);
    return TakeInjected(&LaptopState::missingObjects, call);
}

bool Laptop::TakeMissingObject(std::string_view call, const wchar_t* argument) {
    if (TakeMissingObject(call)) return true;
    return argument != nullptr && TakeMissingObject(NarrowedName(call, argument));
}

uint32_t Laptop::TakeStatus(std::string_view command) {
    std::lock_guard lock(mutex_);
    timeline_.AdvanceTo(NowMs());
    return Take(timeline_.State().statuses, command);
}

bool Laptop::TakeHang(std::string_view call) {
    CheckFaultPoint(call, &FaultPoint::canHang);
    std::lock_guard lock(mutex_);
    timeline_.AdvanceTo(NowMs());
    return Take(timeline_.State().hangs, call);
}

std::vector<ScenarioEvent> Laptop::AppliedEvents() {
    std::lock_guard lock(mutex_);
    timeline_.AdvanceTo(NowMs());
    return timeline_.Applied();
}

}  // namespace sim
