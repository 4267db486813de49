// The status the firmware side gives a step it did not run because an earlier
// step left it nothing to work on (no locator, no services connection, no
// class definition, ...). The customer bit (0x20000000) is set, which no
// Windows or WMI status has, so it cannot be mistaken for a status a platform
// call returned.
#pragma once

#include "platform.h"

inline constexpr HRESULT kStepNotRun = static_cast<HRESULT>(0xA0000001u);
