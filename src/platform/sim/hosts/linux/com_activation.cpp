// COM class creation of the simulated Windows surface: the one class it can
// create is the WBEM locator of the simulated firmware, in process, from a
// thread that can use COM.
#include "platform.h"
#include "sim/model/call_record.h"
#include "sim/model/firmware/wbem_locator.h"
#include "sim/model/laptop.h"
#include "sim/surface/apartments.h"

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) {
    if (sim::RecordingCalls())
        sim::RecordCall("CoCreateInstance", {sim::GuidArg(rclsid), sim::PointerArg(pUnkOuter),
                                             std::to_string(dwClsContext), sim::GuidArg(riid)});
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (const HRESULT fault = sim::TheLaptop().TakeFault("CoCreateInstance"); fault != S_OK) return fault;
    if (!sim::ThreadCanUseCom()) return CO_E_NOTINITIALIZED;
    if (rclsid != CLSID_WbemLocator || (dwClsContext & CLSCTX_INPROC_SERVER) == 0) return REGDB_E_CLASSNOTREG;
    if (pUnkOuter != nullptr) return CLASS_E_NOAGGREGATION;
    if (sim::TheLaptop().TakeMissingObject("CoCreateInstance")) return S_OK;
    IWbemLocator* locator = sim::NewWbemLocator();
    const HRESULT status = locator->QueryInterface(riid, ppv);
    locator->Release();
    return status;
}
