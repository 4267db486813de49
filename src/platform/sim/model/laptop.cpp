#include "laptop.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "clock.h"
#include "run_reports.h"
#include "sim_error.h"

namespace sim {
namespace {

constexpr uint64_t kInjectedFaultMs = 1;

std::vector<ScenarioEvent> LoadConfiguredScenario() {
    const char* path = std::getenv("SAR_SIM_SCENARIO");
    try {
        if (path == nullptr || *path == '\0') return ParseScenario(kDefaultScenario, "built-in scenario");
        std::ifstream file(path);
        if (!file) StopSimulation(std::string(path) + ": cannot open the scenario file");
        std::ostringstream text;
        text << file.rdbuf();
        return ParseScenario(text.str(), path);
    } catch (const ScenarioError& error) {
        StopSimulation(error.what());
    }
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
    events_ = std::move(events);
    nextEvent_ = 0;
    state_ = LaptopState{};
}

LaptopState Laptop::Now() {
    std::lock_guard lock(mutex_);
    ApplyDueEvents();
    return state_;
}

// An injected fault takes 1 ms of virtual time, so that a loop which retries a
// failing call at once still reaches the timeline's later events.
int32_t Laptop::TakeFault(std::string_view call) {
    int32_t fault = 0;
    {
        std::lock_guard lock(mutex_);
        ApplyDueEvents();
        fault = Take(state_.faults, call);
    }
    if (fault != 0 && ClockIsVirtual()) PassMs(kInjectedFaultMs);
    return fault;
}

uint32_t Laptop::TakeStatus(std::string_view command) {
    std::lock_guard lock(mutex_);
    ApplyDueEvents();
    return Take(state_.statuses, command);
}

std::vector<ScenarioEvent> Laptop::AppliedEvents() {
    std::lock_guard lock(mutex_);
    ApplyDueEvents();
    return {events_.begin(), events_.begin() + static_cast<std::ptrdiff_t>(nextEvent_)};
}

void Laptop::ApplyDueEvents() {
    const uint64_t now = NowMs();
    while (nextEvent_ < events_.size() && events_[nextEvent_].atMs <= now) Apply(events_[nextEvent_++]);
}

void Laptop::Apply(const ScenarioEvent& event) {
    switch (event.kind) {
    case EventKind::Radio: state_.radioOn = event.flag; break;
    case EventKind::Latency: state_.latencyMs = event.value; break;
    case EventKind::Transmission: state_.transmissionActive = event.flag; break;
    case EventKind::ModemAbsent: state_.modemPresent = false; break;
    case EventKind::Session: state_.sessionAvailable = event.flag; break;
    case EventKind::Status: state_.statuses[event.name] = {event.value, event.count}; break;
    case EventKind::ReplyLength:
        state_.replyLength = event.flag ? std::nullopt : std::optional<uint32_t>(event.value);
        break;
    case EventKind::Fail:
        if (event.flag)
            state_.faults.erase(event.name);
        else
            state_.faults[event.name] = {static_cast<int32_t>(event.value), event.count};
        break;
    case EventKind::FirmwareInstances: state_.firmwareInstances = event.value; break;
    }
}

Laptop& TheLaptop() {
    static Laptop* laptop = [] {
        // Never destroyed: simulated objects released by static destructors
        // at exit may still ask it for their state.
        auto* created = new Laptop;
        created->Load(LoadConfiguredScenario());
        RegisterRunReportsAtExit();
        return created;
    }();
    return *laptop;
}

}  // namespace sim
