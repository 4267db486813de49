// The WBEM locator: connects to the local machine's root\wmi namespace only,
// with the caller's own credentials.
#include "sim/model/firmware/wbem_locator.h"

#include "sim/model/call_record.h"
#include "sim/model/com_object.h"
#include "sim/model/firmware/bstr_text.h"
#include "sim/model/firmware/firmware_device.h"
#include "sim/model/firmware/wbem_services.h"
#include "sim/model/firmware/wide_text.h"
#include "sim/model/laptop.h"

namespace sim {
namespace {

class WbemLocator final : public ComObject<IWbemLocator> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
        return QueryFor(riid, ppvObject,
                        {{IID_IUnknown, static_cast<IWbemLocator*>(this)},
                         {IID_IWbemLocator, static_cast<IWbemLocator*>(this)}});
    }

    HRESULT STDMETHODCALLTYPE ConnectServer(const BSTR strNetworkResource, const BSTR strUser,
                                            const BSTR strPassword, const BSTR strLocale, LONG lSecurityFlags,
                                            const BSTR strAuthority, IWbemContext* pCtx,
                                            IWbemServices** ppNamespace) override {
        if (RecordingCalls())
            RecordCall("ConnectServer", {TextArg(strNetworkResource), TextArg(strUser), TextArg(strPassword),
                                         TextArg(strLocale), std::to_string(lSecurityFlags), TextArg(strAuthority),
                                         PointerArg(pCtx)});
        if (ppNamespace != nullptr) *ppNamespace = nullptr;
        if (const HRESULT fault = TheLaptop().TakeFault("ConnectServer"); fault != S_OK) return fault;
        // 0 waits until connected, WBEM_FLAG_CONNECT_USE_MAX_WAIT at most 2
        // minutes; the simulated namespace connects at once either way. The
        // other documented flag, 0x40, is reserved to WMI itself.
        if (ppNamespace == nullptr || (lSecurityFlags & ~WBEM_FLAG_CONNECT_USE_MAX_WAIT) != 0)
            return WBEM_E_INVALID_PARAMETER;
        if (strUser != nullptr || strPassword != nullptr) return WBEM_E_INVALID_PARAMETER;
        if (!SameText(BstrText(strNetworkResource), firmware::kNamespace)) return WBEM_E_INVALID_NAMESPACE;
        if (TheLaptop().TakeMissingObject("ConnectServer")) return WBEM_S_NO_ERROR;
        *ppNamespace = new WbemServices;
        if (RecordingCalls()) NewObjectArg(*ppNamespace, "services");
        return WBEM_S_NO_ERROR;
    }
};

}  // namespace

IWbemLocator* NewWbemLocator() { return new WbemLocator; }

}  // namespace sim
