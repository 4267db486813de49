#include "sim/model/stop_request.h"

#include "platform.h"
#include "sim/model/clock.h"

namespace sim {
namespace {

// The name the program gives its stop event (src/win/program_objects.h,
// which the model cannot include): the one contract between the two.
constexpr wchar_t kStopEventName[] = L"Global\\sar-coordinator-stop";

void RequestStop() {
    const HANDLE stop = OpenEventW(EVENT_MODIFY_STATE, FALSE, kStopEventName);
    if (stop == nullptr) return;
    SetEvent(stop);
    CloseHandle(stop);
}

}  // namespace

void ScheduleStopRequests(const std::vector<ScenarioEvent>& events) {
    for (const ScenarioEvent& event : events) {
        if (event.kind != EventKind::StopRequested) continue;
        const uint64_t now = NowMs();
        RunAfter(event.atMs > now ? event.atMs - now : 0, RequestStop);
    }
}

}  // namespace sim
