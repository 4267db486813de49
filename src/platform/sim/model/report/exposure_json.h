// The exposure report as the JSON object SAR_SIM_REPORT receives: integer
// milliseconds, keys in a fixed order, one span per line.
#pragma once

#include <string>

#include "sim/model/report/exposure.h"

namespace sim {

std::string ExposureJson(const ExposureReport& report);

}  // namespace sim
