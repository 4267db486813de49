// The class object of CLSID_WbemLocator that the component DLL hands to COM:
// it makes the simulated firmware's WBEM locators.
#pragma once

#include "platform.h"

namespace sim {

// A new class factory with one reference for the caller.
IClassFactory* NewLocatorClassFactory();

}  // namespace sim
