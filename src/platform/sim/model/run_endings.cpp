#include "sim/model/run_endings.h"

#include <algorithm>

namespace sim {
namespace {

bool Ends(const RunEnding& ending, const ScenarioEvent& event) {
    if (event.kind != ending.kind || (ending.atStartOnly && event.atMs != 0)) return false;
    switch (event.kind) {
    case EventKind::Radio: return !event.flag;
    case EventKind::Fail:
    case EventKind::NoObject: return !event.flag && event.name == ending.call;  // flag: "ok", which clears
    default: return true;
    }
}

// Whether `later` takes back what `event` set: "radio on" after "radio off",
// "fail NAME ok" or "none NAME ok" after a fault of NAME. A start-up line is
// taken back only before the start-up is over, at time 0.
bool Undoes(const ScenarioEvent& later, const ScenarioEvent& event, const RunEnding& ending) {
    if (later.kind != event.kind || !later.flag || (ending.atStartOnly && later.atMs != 0)) return false;
    return event.kind == EventKind::Radio || later.name == event.name;
}

// The ending's event as a scenario line writes it, "fail CurrentRadioState HRESULT".
std::string EventOf(const RunEnding& ending) {
    switch (ending.kind) {
    case EventKind::Radio: return "radio off";
    case EventKind::ModemAbsent: return "modem absent";
    case EventKind::StopRequested: return "stop requested";
    case EventKind::Fail: return "fail " + std::string(ending.call) + " HRESULT";
    default: return "none " + std::string(ending.call);
    }
}

}  // namespace

// A line counts only when no later line takes it back: a radio that goes
// off and on again may never be probed while it is off, and a run that
// never ends is worse than a timeline refused with a reason.
bool CanEndRun(const std::vector<ScenarioEvent>& events) {
    for (auto event = events.begin(); event != events.end(); ++event) {
        for (const RunEnding& ending : kRunEndings) {
            if (!Ends(ending, *event)) continue;
            const bool takenBack = std::any_of(event + 1, events.end(), [&](const ScenarioEvent& later) {
                return Undoes(later, *event, ending);
            });
            if (!takenBack) return true;
        }
    }
    return false;
}

std::string EndingsToAdd() {
    std::string lines;
    for (const RunEnding& ending : kRunEndings) {
        if (ending.atStartOnly) continue;
        if (!lines.empty()) lines += " or ";
        lines += "'<seconds> " + EventOf(ending) + "'";
    }
    return lines;
}

}  // namespace sim
