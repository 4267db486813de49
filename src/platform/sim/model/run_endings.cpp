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

// The ending's event as a scenario line writes it, "fail CurrentRadioState HRESULT".
std::string EventOf(const RunEnding& ending) {
    switch (ending.kind) {
    case EventKind::Radio: return "radio off";
    case EventKind::ModemAbsent: return "modem absent";
    case EventKind::Fail: return "fail " + std::string(ending.call) + " HRESULT";
    default: return "none " + std::string(ending.call);
    }
}

}  // namespace

bool CanEndRun(const std::vector<ScenarioEvent>& events) {
    return std::any_of(events.begin(), events.end(), [](const ScenarioEvent& event) {
        return std::any_of(std::begin(kRunEndings), std::end(kRunEndings),
                           [&event](const RunEnding& ending) { return Ends(ending, event); });
    });
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
