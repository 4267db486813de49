// A connection to the simulated root\wmi namespace: the firmware class, its
// instances (a forward-only query) and ExecINT executed on an instance path.
#pragma once

#include <optional>

#include "com_object.h"
#include "com_security.h"

namespace sim {

class WbemServices final : public ComObject<IWbemServices>, public SecuredProxy {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) override;
    HRESULT STDMETHODCALLTYPE GetObject(const BSTR strObjectPath, LONG lFlags, IWbemContext* pCtx,
                                        IWbemClassObject** ppObject, IWbemCallResult** ppCallResult) override;
    HRESULT STDMETHODCALLTYPE ExecQuery(const BSTR strQueryLanguage, const BSTR strQuery, LONG lFlags,
                                        IWbemContext* pCtx, IEnumWbemClassObject** ppEnum) override;
    HRESULT STDMETHODCALLTYPE ExecMethod(const BSTR strObjectPath, const BSTR strMethodName, LONG lFlags,
                                         IWbemContext* pCtx, IWbemClassObject* pInParams,
                                         IWbemClassObject** ppOutParams, IWbemCallResult** ppCallResult) override;

    void SetImpersonationLevel(DWORD level) override { blanketImpersonation_ = level; }

private:
    std::optional<DWORD> blanketImpersonation_;
};

}  // namespace sim
