// "stop requested": at its moment the laptop asks the running program to
// stop, as `sar-coordinator-ctl stop` does: it opens the program's stop event
// by its name and sets it. A program that has no stop event (not made yet, or
// refused) never hears the request, as a `stop` with no program running.
#pragma once

#include <vector>

#include "sim/model/scenario.h"

namespace sim {

// Schedules the timeline's stop requests as the laptop's timed work, on the
// laptop's clock: on the virtual clock they come when a wait or a sleep
// passes their moment.
void ScheduleStopRequests(const std::vector<ScenarioEvent>& events);

}  // namespace sim
