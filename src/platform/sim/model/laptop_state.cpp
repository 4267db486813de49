#include "sim/model/laptop_state.h"

namespace sim {
namespace {

// "none NAME [COUNT]", "hang NAME [COUNT]" and their "ok".
void SetOrClear(std::map<std::string, Limited<bool>, std::less<>>& table, const ScenarioEvent& event) {
    if (event.flag)
        table.erase(event.name);
    else
        table[event.name] = {true, event.count};
}

}  // namespace

LaptopTimeline::LaptopTimeline(std::vector<ScenarioEvent> events) : events_(std::move(events)) {}

void LaptopTimeline::AdvanceTo(uint64_t ms) {
    nowMs_ = ms;
    while (nextEvent_ < events_.size() && events_[nextEvent_].atMs <= ms) Apply(events_[nextEvent_++]);
    if (state_.transmissionCycle) state_.transmissionActive = state_.transmissionCycle->ActiveAt(ms);
}

std::vector<ScenarioEvent> LaptopTimeline::Applied() const {
    return {events_.begin(), events_.begin() + static_cast<std::ptrdiff_t>(nextEvent_)};
}

std::optional<uint64_t> LaptopTimeline::NextChangeMs() const {
    std::optional<uint64_t> next;
    if (nextEvent_ < events_.size()) next = events_[nextEvent_].atMs;
    if (state_.transmissionCycle) {
        const uint64_t switchMs = state_.transmissionCycle->NextSwitchAfter(nowMs_);
        if (!next || switchMs < *next) next = switchMs;
    }
    return next;
}

void LaptopTimeline::Apply(const ScenarioEvent& event) {
    switch (event.kind) {
    case EventKind::Radio: state_.radioOn = event.flag; break;
    case EventKind::Latency: state_.latencyMs = event.value; break;
    case EventKind::Transmission:
        state_.transmissionActive = event.flag;
        state_.transmissionCycle.reset();
        break;
    case EventKind::TransmissionCycle:
        state_.transmissionCycle = TransmissionCycle{event.atMs, event.value, event.idleMs};
        break;
    case EventKind::ModemAbsent: state_.modemPresent = false; break;
    case EventKind::ModemReplaced:
        state_.radioWhenReplaced.push_back(state_.radioOn);
        ++state_.modemGeneration;
        break;
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
    case EventKind::NoObject: SetOrClear(state_.missingObjects, event); break;
    case EventKind::Hang: SetOrClear(state_.hangs, event); break;
    case EventKind::FirmwareInstances: state_.firmwareInstances = event.value; break;
    case EventKind::Token: state_.token = static_cast<TokenKind>(event.value); break;
    case EventKind::FirmwareClass: state_.firmwareClassPresent = event.flag; break;
    case EventKind::FirmwareMethod: state_.firmwareMethodPresent = event.flag; break;
    case EventKind::FirmwareInput: state_.firmwareInputTypes[event.name] = event.value; break;
    case EventKind::StopRequested: break;  // the laptop sets the event at its moment (stop_request.h)
    }
}

}  // namespace sim
