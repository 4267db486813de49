// Process-wide COM security and proxy blankets. Security can be set once per
// process; later calls find it set (RPC_E_TOO_LATE). Both need the calling
// thread to be able to use COM.
#include "sim/surface/com_security.h"

#include <mutex>
#include <optional>

#include "sim/model/surface_services.h"
#include "sim/surface/apartments.h"

namespace {

std::mutex securityMutex;
std::optional<DWORD> processImpersonationLevel;

}  // namespace

namespace sim {

DWORD InitializedImpersonationLevel() {
    std::lock_guard lock(securityMutex);
    return processImpersonationLevel.value_or(RPC_C_IMP_LEVEL_IDENTIFY);
}

}  // namespace sim

HRESULT CoInitializeSecurity(PSECURITY_DESCRIPTOR pSecDesc, LONG cAuthSvc, SOLE_AUTHENTICATION_SERVICE* asAuthSvc,
                             void* pReserved1, DWORD dwAuthnLevel, DWORD dwImpLevel, void* pAuthList,
                             DWORD dwCapabilities, void* pReserved3) {
    if (sim::RecordingCalls())
        sim::RecordCall("CoInitializeSecurity",
                        {sim::PointerArg(pSecDesc), std::to_string(cAuthSvc), sim::PointerArg(asAuthSvc),
                         sim::PointerArg(pReserved1), std::to_string(dwAuthnLevel), std::to_string(dwImpLevel),
                         sim::PointerArg(pAuthList), std::to_string(dwCapabilities), sim::PointerArg(pReserved3)});
    if (const HRESULT fault = sim::TakeCallFault("CoInitializeSecurity"); fault != S_OK) return fault;
    if (!sim::ThreadCanUseCom()) return CO_E_NOTINITIALIZED;
    std::lock_guard lock(securityMutex);
    if (processImpersonationLevel) return RPC_E_TOO_LATE;
    // Levels above the highest COM knows are invalid.
    if (cAuthSvc < -1 || (cAuthSvc > 0 && asAuthSvc == nullptr) || dwAuthnLevel > RPC_C_AUTHN_LEVEL_PKT_PRIVACY ||
        dwImpLevel > RPC_C_IMP_LEVEL_DELEGATE)
        return E_INVALIDARG;
    processImpersonationLevel = dwImpLevel;
    return S_OK;
}

// As COM does: the blanket goes to the proxy's IClientSecurity, which an
// object that is no proxy does not answer (E_NOINTERFACE).
HRESULT CoSetProxyBlanket(IUnknown* pProxy, DWORD dwAuthnSvc, DWORD dwAuthzSvc, OLECHAR* pServerPrincName,
                          DWORD dwAuthnLevel, DWORD dwImpLevel, RPC_AUTH_IDENTITY_HANDLE pAuthInfo,
                          DWORD dwCapabilities) {
    if (sim::RecordingCalls())
        sim::RecordCall("CoSetProxyBlanket",
                        {sim::ObjectArg(pProxy), std::to_string(dwAuthnSvc), std::to_string(dwAuthzSvc),
                         sim::TextArg(pServerPrincName), std::to_string(dwAuthnLevel), std::to_string(dwImpLevel),
                         sim::PointerArg(pAuthInfo), std::to_string(dwCapabilities)});
    if (pProxy == nullptr) return E_INVALIDARG;
    if (!sim::ThreadCanUseCom()) return CO_E_NOTINITIALIZED;
    IClientSecurity* security = nullptr;
    if (const HRESULT found = pProxy->QueryInterface(IID_IClientSecurity, reinterpret_cast<void**>(&security));
        FAILED(found))
        return found;
    const HRESULT status = security->SetBlanket(pProxy, dwAuthnSvc, dwAuthzSvc, pServerPrincName, dwAuthnLevel,
                                                dwImpLevel, pAuthInfo, dwCapabilities);
    security->Release();
    return status;
}
