// The simulated mobile broadband component: the runtime classes
// "Windows.Networking.NetworkOperators.MobileBroadbandModem" (the default
// modem, its device information, the MBIM MS SAR device service, command
// sessions) and "Windows.Security.Cryptography.CryptographicBuffer", driven
// by the simulated laptop. It uses only the Windows names of platform.h and
// standard C++, so it builds both into the Linux simulator and, on Windows,
// into a Windows Runtime component.
//
// Each call takes the scenario's "fail NAME HRESULT" (and, where it hands out
// an object, "none NAME") under its own name from the list of fault points
// (fault_points.h). A failing call sets restricted error information for the
// calling thread. The Linux Windows surface's own calls fail plainly, as the
// system's own runtime functions do.
#pragma once

#include "platform.h"

namespace sim {

// The activation factory of classId, with a reference for the caller;
// CLASS_E_CLASSNOTAVAILABLE for a class the component does not serve. This is
// what a component DLL's DllGetActivationFactory hands out.
HRESULT GetActivationFactory(HSTRING classId, IActivationFactory** factory);

}  // namespace sim
