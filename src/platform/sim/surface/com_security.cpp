// Process-wide COM security and proxy blankets. Security can be set once per
// process; later calls find it set (RPC_E_TOO_LATE). Both need the calling
// thread to be able to use COM.
#include "com_security.h"

#include <mutex>
#include <optional>

#include "apartments.h"
#include "laptop.h"

namespace {

constexpr DWORD kHighestAuthenticationLevel = 6;  // RPC_C_AUTHN_LEVEL_PKT_PRIVACY
constexpr DWORD kHighestImpersonationLevel = 4;   // RPC_C_IMP_LEVEL_DELEGATE
constexpr DWORD kDefaultImpersonationLevel = 2;   // RPC_C_IMP_LEVEL_IDENTIFY

std::mutex securityMutex;
std::optional<DWORD> processImpersonationLevel;

}  // namespace

namespace sim {

DWORD EffectiveImpersonationLevel(const DWORD* proxyBlanketLevel) {
    if (proxyBlanketLevel != nullptr) return *proxyBlanketLevel;
    std::lock_guard lock(securityMutex);
    return processImpersonationLevel.value_or(kDefaultImpersonationLevel);
}

}  // namespace sim

HRESULT CoInitializeSecurity(PSECURITY_DESCRIPTOR, LONG cAuthSvc, SOLE_AUTHENTICATION_SERVICE* asAuthSvc, void*,
                             DWORD dwAuthnLevel, DWORD dwImpLevel, void*, DWORD, void*) {
    if (const HRESULT fault = sim::TheLaptop().TakeFault("CoInitializeSecurity"); fault != S_OK) return fault;
    if (!sim::ThreadCanUseCom()) return CO_E_NOTINITIALIZED;
    std::lock_guard lock(securityMutex);
    if (processImpersonationLevel) return RPC_E_TOO_LATE;
    if (cAuthSvc < -1 || (cAuthSvc > 0 && asAuthSvc == nullptr) || dwAuthnLevel > kHighestAuthenticationLevel ||
        dwImpLevel > kHighestImpersonationLevel)
        return E_INVALIDARG;
    processImpersonationLevel = dwImpLevel;
    return S_OK;
}

HRESULT CoSetProxyBlanket(IUnknown* pProxy, DWORD, DWORD, OLECHAR*, DWORD dwAuthnLevel, DWORD dwImpLevel,
                          RPC_AUTH_IDENTITY_HANDLE, DWORD) {
    if (const HRESULT fault = sim::TheLaptop().TakeFault("CoSetProxyBlanket"); fault != S_OK) return fault;
    if (pProxy == nullptr) return E_INVALIDARG;
    if (!sim::ThreadCanUseCom()) return CO_E_NOTINITIALIZED;
    auto* proxy = dynamic_cast<sim::SecuredProxy*>(pProxy);
    if (proxy == nullptr) return E_NOINTERFACE;
    if (dwAuthnLevel > kHighestAuthenticationLevel || dwImpLevel > kHighestImpersonationLevel) return E_INVALIDARG;
    proxy->SetImpersonationLevel(dwImpLevel);
    return S_OK;
}
