// The run as a self-contained SVG timeline (SAR_SIM_TIMELINE): a time axis in
// seconds; lanes for the modem radio, the modem transmitting, WLAN power and
// the unprotected stretches, which are also highlighted across all lanes; a
// tick per modem command (rejected and undelivered ones marked) and a marker
// per firmware execution; a legend. Ticks and markers that would crowd are
// merged, one per few pixels and kind, so an hour-long run stays readable.
#pragma once

#include <string>

#include "sim/model/report/exposure.h"
#include "sim/model/run_record.h"

namespace sim {

std::string TimelineSvg(const RunRecord& record, const RunIntervals& intervals, const ExposureReport& report);

}  // namespace sim
