#include "sim/model/firmware/wbem_services.h"

#include <sstream>
#include <string>
#include <vector>

#include "sim/model/call_record.h"
#include "sim/model/firmware/bstr_text.h"
#include "sim/model/firmware/firmware_device.h"
#include "sim/model/firmware/wbem_object.h"
#include "sim/model/firmware/wide_text.h"
#include "sim/model/host_services.h"
#include "sim/model/laptop.h"

namespace sim {
namespace {

constexpr LONG kQueryFlags = WBEM_FLAG_RETURN_IMMEDIATELY | WBEM_FLAG_FORWARD_ONLY;
constexpr DWORD kImpersonate = RPC_C_IMP_LEVEL_IMPERSONATE;

// The instances a query found, handed out once each, in order: a
// forward-only enumerator cannot go back.
class InstanceEnumerator final : public UnsupportedEnumeratorMethods {
public:
    explicit InstanceEnumerator(uint32_t instances) : instances_(instances) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override {
        return QueryFor(riid, ppvObject,
                        {{IID_IUnknown, static_cast<IEnumWbemClassObject*>(this)},
                         {IID_IEnumWbemClassObject, static_cast<IEnumWbemClassObject*>(this)}});
    }

    // WBEM_S_NO_ERROR when all uCount objects came, WBEM_S_FALSE when fewer.
    HRESULT STDMETHODCALLTYPE Next(LONG lTimeout, ULONG uCount, IWbemClassObject** apObjects,
                                   ULONG* puReturned) override {
        if (RecordingCalls()) RecordCall("Next", {std::to_string(lTimeout), std::to_string(uCount)});
        if (puReturned != nullptr) *puReturned = 0;
        for (ULONG i = 0; apObjects != nullptr && i < uCount; ++i) apObjects[i] = nullptr;
        if (const HRESULT fault = TheLaptop().TakeFault("Next"); fault != S_OK) return fault;
        // The wait is WBEM_INFINITE (-1) or a number of milliseconds, 0 not
        // waiting at all; the query's instances are all there at once, so no
        // wait runs out.
        if (apObjects == nullptr || puReturned == nullptr || lTimeout < -1) return WBEM_E_INVALID_PARAMETER;
        // "none Next": success, yet nothing handed out.
        if (TheLaptop().TakeMissingObject("Next")) return WBEM_S_NO_ERROR;
        ULONG delivered = 0;
        while (delivered < uCount && next_ < instances_) {
            apObjects[delivered] = WbemObject::NewFirmwareInstance(next_++);
            if (RecordingCalls()) NewObjectArg(apObjects[delivered], "instance");
            ++delivered;
        }
        *puReturned = delivered;
        return delivered == uCount ? WBEM_S_NO_ERROR : WBEM_S_FALSE;
    }

private:
    uint32_t instances_;
    uint32_t next_ = 0;
};

// "Select * from <class>", keywords in any case.
std::optional<std::wstring> QueriedClass(std::wstring_view query) {
    std::wistringstream words{std::wstring(query)};
    std::wstring select, star, from, className, rest;
    if (!(words >> select >> star >> from >> className) || (words >> rest)) return std::nullopt;
    if (!SameText(select, L"select") || star != L"*" || !SameText(from, L"from")) return std::nullopt;
    return className;
}

}  // namespace

HRESULT WbemServices::QueryInterface(REFIID riid, void** ppvObject) {
    return QueryFor(riid, ppvObject,
                    {{IID_IUnknown, static_cast<IWbemServices*>(this)},
                     {IID_IWbemServices, static_cast<IWbemServices*>(this)},
                     {IID_IClientSecurity, static_cast<IClientSecurity*>(this)}});
}

// The fault a scenario names CoSetProxyBlanket is taken here, where that call
// lands on both hosts: the simulated surface's CoSetProxyBlanket and the real
// one hand the blanket to the proxy's IClientSecurity.
HRESULT WbemServices::SetBlanket(IUnknown* pProxy, DWORD, DWORD, OLECHAR*, DWORD dwAuthnLevel, DWORD dwImpLevel,
                                 void*, DWORD) {
    if (const HRESULT fault = TheLaptop().TakeFault("CoSetProxyBlanket"); fault != S_OK) return fault;
    // Levels above the highest COM knows are invalid.
    if (pProxy == nullptr || dwAuthnLevel > RPC_C_AUTHN_LEVEL_PKT_PRIVACY || dwImpLevel > RPC_C_IMP_LEVEL_DELEGATE)
        return E_INVALIDARG;
    blanketImpersonation_ = dwImpLevel;
    return S_OK;
}

HRESULT WbemServices::GetObject(const BSTR strObjectPath, LONG lFlags, IWbemContext* pCtx,
                                IWbemClassObject** ppObject, IWbemCallResult** ppCallResult) {
    if (RecordingCalls())
        RecordCall("GetObject",
                   {TextArg(strObjectPath), std::to_string(lFlags), PointerArg(pCtx), PointerArg(ppCallResult)});
    if (ppObject != nullptr) *ppObject = nullptr;
    if (ppCallResult != nullptr) *ppCallResult = nullptr;
    if (const HRESULT fault = TheLaptop().TakeFault("GetObject"); fault != S_OK) return fault;
    if (ppObject == nullptr || lFlags != 0) return WBEM_E_INVALID_PARAMETER;
    const std::wstring_view path = BstrText(strObjectPath);
    // No path asks WMI for an empty class, the start of a new class definition.
    const bool isEmptyClass = path.empty();
    const bool isClass = (SameText(path, firmware::kClassName) || SameText(path, firmware::ClassPath())) &&
                         TheLaptop().Now().firmwareClassPresent;
    const auto instance = firmware::FindInstance(path);
    if (!isEmptyClass && !isClass && !instance) return WBEM_E_NOT_FOUND;
    if (TheLaptop().TakeMissingObject("GetObject")) return WBEM_S_NO_ERROR;
    *ppObject = isEmptyClass ? WbemObject::NewEmptyClass()
                : isClass    ? WbemObject::NewFirmwareClass()
                             : WbemObject::NewFirmwareInstance(*instance);
    if (RecordingCalls()) NewObjectArg(*ppObject, "object");
    return WBEM_S_NO_ERROR;
}

HRESULT WbemServices::ExecQuery(const BSTR strQueryLanguage, const BSTR strQuery, LONG lFlags, IWbemContext* pCtx,
                                IEnumWbemClassObject** ppEnum) {
    if (RecordingCalls())
        RecordCall("ExecQuery", {TextArg(strQueryLanguage), TextArg(strQuery), std::to_string(lFlags), PointerArg(pCtx)});
    if (ppEnum != nullptr) *ppEnum = nullptr;
    if (const HRESULT fault = TheLaptop().TakeFault("ExecQuery"); fault != S_OK) return fault;
    if (ppEnum == nullptr || (lFlags & ~kQueryFlags) != 0) return WBEM_E_INVALID_PARAMETER;
    if (!SameText(BstrText(strQueryLanguage), L"WQL")) return WBEM_E_INVALID_QUERY_TYPE;
    const auto className = QueriedClass(BstrText(strQuery));
    if (!className) return WBEM_E_INVALID_QUERY;
    if (!SameText(*className, firmware::kClassName) || !TheLaptop().Now().firmwareClassPresent)
        return WBEM_E_INVALID_CLASS;
    if (TheLaptop().TakeMissingObject("ExecQuery")) return WBEM_S_NO_ERROR;
    *ppEnum = new InstanceEnumerator(TheLaptop().Now().firmwareInstances);
    return WBEM_S_NO_ERROR;
}

// The firmware provider acts on the caller's behalf, so it needs a caller it
// can impersonate; a lower level is refused.
HRESULT WbemServices::ExecMethod(const BSTR strObjectPath, const BSTR strMethodName, LONG lFlags,
                                 IWbemContext* pCtx, IWbemClassObject* pInParams, IWbemClassObject** ppOutParams,
                                 IWbemCallResult** ppCallResult) {
    if (RecordingCalls())
        RecordCall("ExecMethod", {TextArg(strObjectPath), TextArg(strMethodName), std::to_string(lFlags),
                                  PointerArg(pCtx), ObjectArg(pInParams), PointerArg(ppOutParams),
                                  PointerArg(ppCallResult)});
    if (ppOutParams != nullptr) *ppOutParams = nullptr;
    if (ppCallResult != nullptr) *ppCallResult = nullptr;
    if (const HRESULT fault = TheLaptop().TakeFault("ExecMethod"); fault != S_OK) return fault;
    if (strObjectPath == nullptr || lFlags != 0) return WBEM_E_INVALID_PARAMETER;
    const auto instance = firmware::FindInstance(BstrText(strObjectPath));
    if (!instance) return WBEM_E_NOT_FOUND;
    if (!SameText(BstrText(strMethodName), firmware::kMethodName) || !TheLaptop().Now().firmwareMethodPresent)
        return WBEM_E_INVALID_METHOD;
    const auto* input = dynamic_cast<const WbemObject*>(pInParams);
    const auto registers = input != nullptr ? input->ExecIntInputs() : std::nullopt;
    if (!registers) return WBEM_E_INVALID_METHOD_PARAMETERS;
    if (blanketImpersonation_.value_or(ProcessImpersonationLevel()) < kImpersonate) return WBEM_E_ACCESS_DENIED;
    const uint32_t outEdx = firmware::Execute(*instance, *registers);
    // "none ExecMethod": the method ran, but no output parameters came back.
    if (TheLaptop().TakeMissingObject("ExecMethod")) return WBEM_S_NO_ERROR;
    if (ppOutParams != nullptr) {
        *ppOutParams = WbemObject::NewExecIntOutput(outEdx);
        if (RecordingCalls()) NewObjectArg(*ppOutParams, "outputs");
    }
    return WBEM_S_NO_ERROR;
}

}  // namespace sim
