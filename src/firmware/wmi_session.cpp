#include "firmware/wmi_session.h"

#include "win/hresult_exception.h"

namespace {

// How long Next waits for an instance. The firmware's provider answers in
// milliseconds; one that has not answered in 10 s is treated as failed
// (WBEM_S_TIMEDOUT) rather than let it hold the caller for good.
constexpr LONG kInstanceWaitMs = 10000;

}  // namespace

HRESULT SetProcessComSecurity() {
    return CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT, RPC_C_IMP_LEVEL_IMPERSONATE,
                                nullptr, EOAC_NONE, nullptr);
}

HRESULT GetMethodSignatures(IWbemClassObject* classDefinition, BSTR methodName, IWbemClassObject** inputs,
                            IWbemClassObject** outputs) {
    if (classDefinition == nullptr) return kStepNotRun;
    return classDefinition->GetMethod(methodName, 0, inputs, outputs);
}

HRESULT WmiSession::CreateLocator() {
    return CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                            reinterpret_cast<LPVOID*>(locator_.put()));
}

HRESULT WmiSession::Connect(BSTR nameSpace) {
    if (!locator_) return kStepNotRun;
    return locator_->ConnectServer(nameSpace, nullptr, nullptr, nullptr, WBEM_FLAG_CONNECT_USE_MAX_WAIT, nullptr,
                                   nullptr, services_.put());
}

HRESULT WmiSession::SetBlanket() {
    if (!services_) return kStepNotRun;
    return CoSetProxyBlanket(services_.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                             RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
}

HRESULT WmiSession::QueryInstances(BSTR query) {
    if (!services_) return kStepNotRun;
    const OwnedBstr language(L"WQL");
    if (!language) throw HresultException(E_OUTOFMEMORY, "SysAllocString");
    return services_->ExecQuery(language.get(), query, WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                enumerator_.put());
}

// One instance at a time; whether one came shows in `instance`, so the
// returned count is not looked at.
HRESULT WmiSession::NextInstance(com_ptr<IWbemClassObject>& instance) {
    if (!enumerator_) return kStepNotRun;
    ULONG returned = 0;
    return enumerator_->Next(kInstanceWaitMs, 1, instance.put(), &returned);
}

HRESULT WmiSession::GetClass(BSTR className, com_ptr<IWbemClassObject>& definition) {
    if (!services_) return kStepNotRun;
    return services_->GetObject(className, 0, nullptr, definition.put(), nullptr);
}
