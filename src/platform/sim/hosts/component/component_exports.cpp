// The entry points that make the simulated laptop a component DLL, driven by
// the same scenario file and logs as the Linux simulator:
// DllGetActivationFactory serves the modem's Windows Runtime classes to
// RoGetActivationFactory, DllGetClassObject the firmware's WBEM locator to
// CoCreateInstance.
#include "platform.h"
#include "sim/hosts/component/locator_class_factory.h"
#include "sim/model/clock.h"
#include "sim/model/modem/device_model.h"
#include "sim/model/sim_error.h"

namespace {

// The program sleeps on the real clock here, so the laptop's timeline must
// run on it too: a virtual clock would never reach the scenario's events.
void RequireRealClock() {
    if (sim::ClockIsVirtual())
        sim::StopSimulation("SAR_SIM_CLOCK=virtual cannot drive a Windows process; the laptop clock is real here");
}

}  // namespace

extern "C" HRESULT WINAPI DllGetActivationFactory(HSTRING activatableClassId, IActivationFactory** factory) {
    RequireRealClock();
    return sim::GetActivationFactory(activatableClassId, factory);
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    RequireRealClock();
    if (rclsid != CLSID_WbemLocator) return CLASS_E_CLASSNOTAVAILABLE;
    IClassFactory* factory = sim::NewLocatorClassFactory();
    const HRESULT status = factory->QueryInterface(riid, ppv);
    factory->Release();
    return status;
}

// The factories live as long as the process and completion threads may still
// be running, and the firmware's state and log must last from one firmware
// call to the next (COM would unload the DLL at the CoUninitialize that ends
// each one), so the DLL is never unloaded.
extern "C" HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }
