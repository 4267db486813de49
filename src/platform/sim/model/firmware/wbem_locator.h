// The WBEM locator of the simulated firmware: the object CoCreateInstance
// hands out for CLSID_WbemLocator, whichever host serves it.
#pragma once

#include "platform.h"

namespace sim {

// A new locator with one reference for the caller.
IWbemLocator* NewWbemLocator();

}  // namespace sim
