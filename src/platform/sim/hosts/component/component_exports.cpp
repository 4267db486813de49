// The entry points that make the simulated mobile broadband device model a
// Windows Runtime component DLL. Registered under a class's ActivatableClassId
// key, the DLL serves "Windows.Networking.NetworkOperators.MobileBroadbandModem"
// and "Windows.Security.Cryptography.CryptographicBuffer" to RoGetActivationFactory,
// driven by the same scenario file and modem log as the Linux simulator.
#include "clock.h"
#include "device_model.h"
#include "platform.h"
#include "sim_error.h"

extern "C" HRESULT WINAPI DllGetActivationFactory(HSTRING activatableClassId, IActivationFactory** factory) {
    // The program sleeps on the real clock here, so the laptop's timeline must
    // run on it too: a virtual clock would never reach the scenario's events.
    if (sim::ClockIsVirtual())
        sim::StopSimulation("SAR_SIM_CLOCK=virtual cannot drive a Windows process; the laptop clock is real here");
    return sim::GetActivationFactory(activatableClassId, factory);
}

// The factories live as long as the process and completion threads may still
// be running, so the DLL is never unloaded.
extern "C" HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }
