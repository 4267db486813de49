// The WBEM locator, the one class the simulated COM can create, and the
// identifiers of the WMI interfaces as Windows publishes them.
#include "automation.h"
#include "com_object.h"
#include "firmware_device.h"
#include "laptop.h"
#include "apartments.h"
#include "wbem_services.h"
#include "wide_text.h"

const CLSID CLSID_WbemLocator = {0x4590F811, 0x1D3A, 0x11D0, {0x89, 0x1F, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};
const IID IID_IWbemLocator = {0xDC12A687, 0x737F, 0x11CF, {0x88, 0x4D, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};
const IID IID_IWbemServices = {0x9556DC99, 0x828C, 0x11CF, {0xA3, 0x7E, 0x00, 0xAA, 0x00, 0x32, 0x40, 0xC7}};
const IID IID_IEnumWbemClassObject = {0x027947E1, 0xD731, 0x11CE, {0xA3, 0x57, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01}};
const IID IID_IWbemClassObject = {0xDC12A681, 0x737F, 0x11CF, {0x88, 0x4D, 0x00, 0xAA, 0x00, 0x4B, 0x2E, 0x24}};

namespace {

constexpr LONG kConnectUseMaxWait = 0x80;  // WBEM_FLAG_CONNECT_USE_MAX_WAIT

// Connects to the local machine's root\wmi namespace only, with the caller's
// own credentials.
class WbemLocator final : public sim::ComObject<IWbemLocator> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
        return QueryFor(riid, ppvObject,
                        {{IID_IUnknown, static_cast<IWbemLocator*>(this)},
                         {IID_IWbemLocator, static_cast<IWbemLocator*>(this)}});
    }

    HRESULT STDMETHODCALLTYPE ConnectServer(const BSTR strNetworkResource, const BSTR strUser,
                                            const BSTR strPassword, const BSTR, LONG lSecurityFlags, const BSTR,
                                            IWbemContext*, IWbemServices** ppNamespace) override {
        if (ppNamespace != nullptr) *ppNamespace = nullptr;
        if (const HRESULT fault = sim::TheLaptop().TakeFault("ConnectServer"); fault != S_OK) return fault;
        if (strNetworkResource == nullptr || ppNamespace == nullptr || (lSecurityFlags & ~kConnectUseMaxWait) != 0)
            return WBEM_E_INVALID_PARAMETER;
        if (strUser != nullptr || strPassword != nullptr) return WBEM_E_INVALID_PARAMETER;
        if (!sim::SameText(sim::BstrText(strNetworkResource), sim::firmware::kNamespace))
            return WBEM_E_INVALID_NAMESPACE;
        *ppNamespace = new sim::WbemServices;
        return WBEM_S_NO_ERROR;
    }
};

}  // namespace

HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID* ppv) {
    if (ppv == nullptr) return E_POINTER;
    *ppv = nullptr;
    if (const HRESULT fault = sim::TheLaptop().TakeFault("CoCreateInstance"); fault != S_OK) return fault;
    if (!sim::ThreadCanUseCom()) return CO_E_NOTINITIALIZED;
    if (rclsid != CLSID_WbemLocator || (dwClsContext & CLSCTX_INPROC_SERVER) == 0) return REGDB_E_CLASSNOTREG;
    if (pUnkOuter != nullptr) return CLASS_E_NOAGGREGATION;
    auto* locator = new WbemLocator;
    const HRESULT status = locator->QueryInterface(riid, ppv);
    locator->Release();
    return status;
}
