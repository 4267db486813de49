// WMI of the simulated platform: the locator, services, enumerator and class
// object interfaces with the methods and constants the firmware call uses.
#pragma once

#include "win_com.h"

struct IWbemContext;
struct IWbemCallResult;
struct IWbemServices;
struct IWbemClassObject;

enum WBEM_TIMEOUT_TYPE : uint32_t { WBEM_INFINITE = 0xFFFFFFFFu };
enum WBEM_GENERIC_FLAG_TYPE : LONG {
    WBEM_FLAG_RETURN_IMMEDIATELY = 0x10,
    WBEM_FLAG_FORWARD_ONLY = 0x20,
};
enum CIMTYPE_ENUMERATION : CIMTYPE {
    CIM_STRING = 8,
    CIM_UINT32 = 19,
};

#define WBEM_S_NO_ERROR MakeHresult(0x00000000u)
#define WBEM_S_FALSE MakeHresult(0x00000001u)
#define WBEM_E_FAILED MakeHresult(0x80041001u)
#define WBEM_E_NOT_FOUND MakeHresult(0x80041002u)
#define WBEM_E_ACCESS_DENIED MakeHresult(0x80041003u)
#define WBEM_E_TYPE_MISMATCH MakeHresult(0x80041005u)
#define WBEM_E_INVALID_PARAMETER MakeHresult(0x80041008u)
#define WBEM_E_INVALID_NAMESPACE MakeHresult(0x8004100Eu)
#define WBEM_E_INVALID_CLASS MakeHresult(0x80041010u)
#define WBEM_E_INVALID_OPERATION MakeHresult(0x80041016u)
#define WBEM_E_INVALID_QUERY MakeHresult(0x80041017u)
#define WBEM_E_INVALID_QUERY_TYPE MakeHresult(0x80041018u)
#define WBEM_E_INVALID_METHOD MakeHresult(0x8004102Eu)
#define WBEM_E_INVALID_METHOD_PARAMETERS MakeHresult(0x8004102Fu)

struct IWbemClassObject : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Get(LPCWSTR wszName, LONG lFlags, VARIANT* pVal,
                                          CIMTYPE* pType, LONG* plFlavor) = 0;
    virtual HRESULT STDMETHODCALLTYPE Put(LPCWSTR wszName, LONG lFlags, VARIANT* pVal,
                                          CIMTYPE Type) = 0;
    virtual HRESULT STDMETHODCALLTYPE SpawnInstance(LONG lFlags,
                                                    IWbemClassObject** ppNewInstance) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMethod(LPCWSTR wszName, LONG lFlags,
                                                IWbemClassObject** ppInSignature,
                                                IWbemClassObject** ppOutSignature) = 0;

protected:
    ~IWbemClassObject() = default;
};

struct IEnumWbemClassObject : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Next(LONG lTimeout, ULONG uCount,
                                           IWbemClassObject** apObjects, ULONG* puReturned) = 0;

protected:
    ~IEnumWbemClassObject() = default;
};

struct IWbemServices : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetObject(const BSTR strObjectPath, LONG lFlags,
                                                IWbemContext* pCtx, IWbemClassObject** ppObject,
                                                IWbemCallResult** ppCallResult) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExecQuery(const BSTR strQueryLanguage, const BSTR strQuery,
                                                LONG lFlags, IWbemContext* pCtx,
                                                IEnumWbemClassObject** ppEnum) = 0;
    virtual HRESULT STDMETHODCALLTYPE ExecMethod(const BSTR strObjectPath,
                                                 const BSTR strMethodName, LONG lFlags,
                                                 IWbemContext* pCtx, IWbemClassObject* pInParams,
                                                 IWbemClassObject** ppOutParams,
                                                 IWbemCallResult** ppCallResult) = 0;

protected:
    ~IWbemServices() = default;
};

struct IWbemLocator : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE ConnectServer(const BSTR strNetworkResource,
                                                    const BSTR strUser, const BSTR strPassword,
                                                    const BSTR strLocale, LONG lSecurityFlags,
                                                    const BSTR strAuthority, IWbemContext* pCtx,
                                                    IWbemServices** ppNamespace) = 0;

protected:
    ~IWbemLocator() = default;
};

extern const CLSID CLSID_WbemLocator;
extern const IID IID_IWbemLocator;
extern const IID IID_IWbemServices;
extern const IID IID_IEnumWbemClassObject;
extern const IID IID_IWbemClassObject;
