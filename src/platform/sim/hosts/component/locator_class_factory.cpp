#include "sim/hosts/component/locator_class_factory.h"

#include "sim/model/com_object.h"
#include "sim/model/firmware/wbem_locator.h"

namespace sim {
namespace {

class LocatorClassFactory final : public ComObject<IClassFactory> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
        return QueryFor(riid, ppvObject,
                        {{IID_IUnknown, static_cast<IClassFactory*>(this)},
                         {IID_IClassFactory, static_cast<IClassFactory*>(this)}});
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObject) override {
        if (ppvObject == nullptr) return E_POINTER;
        *ppvObject = nullptr;
        if (pUnkOuter != nullptr) return CLASS_E_NOAGGREGATION;
        IWbemLocator* locator = NewWbemLocator();
        const HRESULT status = locator->QueryInterface(riid, ppvObject);
        locator->Release();
        return status;
    }

    // The DLL stays loaded for the life of the process (DllCanUnloadNow), so
    // there is nothing to lock.
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

}  // namespace

IClassFactory* NewLocatorClassFactory() { return new LocatorClassFactory; }

}  // namespace sim
