// Windows Runtime activation of the simulated Windows surface: the classes of
// the simulated mobile broadband component, reachable only from a thread that
// can use COM, as on Windows.
#include "sim/model/laptop.h"
#include "sim/model/modem/device_model.h"
#include "sim/surface/apartments.h"

HRESULT RoGetActivationFactory(HSTRING activatableClassId, REFIID iid, void** factory) {
    if (factory == nullptr) return E_POINTER;
    *factory = nullptr;
    if (const HRESULT fault = sim::TheLaptop().TakeFault("RoGetActivationFactory"); FAILED(fault)) return fault;
    if (!sim::ThreadCanUseCom()) return CO_E_NOTINITIALIZED;
    IActivationFactory* activation = nullptr;
    const HRESULT found = sim::GetActivationFactory(activatableClassId, &activation);
    // Every class the component serves is registered; others are unknown.
    if (found == CLASS_E_CLASSNOTAVAILABLE) return REGDB_E_CLASSNOTREG;
    if (FAILED(found)) return found;
    // "none RoGetActivationFactory": success, yet no factory handed out.
    const bool missing = sim::TheLaptop().TakeMissingObject("RoGetActivationFactory");
    const HRESULT result = missing ? S_OK : activation->QueryInterface(iid, factory);
    activation->Release();
    return result;
}
