// A connection to the simulated root\wmi namespace: the firmware class, its
// instances (a forward-only query) and ExecINT executed on an instance path.
// Like WMI's own, it is a proxy whose calls carry the security blanket set on
// it (IClientSecurity::SetBlanket, which CoSetProxyBlanket calls).
#pragma once

#include <optional>

#include "sim/model/firmware/wbem_unsupported.h"

namespace sim {

class WbemServices final : public UnsupportedServicesMethods {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    HRESULT STDMETHODCALLTYPE GetObject(const BSTR strObjectPath, LONG lFlags, IWbemContext* pCtx,
                                        IWbemClassObject** ppObject, IWbemCallResult** ppCallResult) override;
    HRESULT STDMETHODCALLTYPE ExecQuery(const BSTR strQueryLanguage, const BSTR strQuery, LONG lFlags,
                                        IWbemContext* pCtx, IEnumWbemClassObject** ppEnum) override;
    HRESULT STDMETHODCALLTYPE ExecMethod(const BSTR strObjectPath, const BSTR strMethodName, LONG lFlags,
                                         IWbemContext* pCtx, IWbemClassObject* pInParams,
                                         IWbemClassObject** ppOutParams, IWbemCallResult** ppCallResult) override;

    HRESULT STDMETHODCALLTYPE SetBlanket(IUnknown* pProxy, DWORD dwAuthnSvc, DWORD dwAuthzSvc,
                                         OLECHAR* pServerPrincName, DWORD dwAuthnLevel, DWORD dwImpLevel,
                                         void* pAuthInfo, DWORD dwCapabilities) override;

private:
    std::optional<DWORD> blanketImpersonation_;
};

}  // namespace sim
