// COM of the simulated platform: IUnknown, apartments, process security,
// class creation, task memory, and the OLE Automation strings and VARIANTs.
#pragma once

#include "sim/surface/win_types.h"

struct IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppvObject) = 0;
    virtual ULONG STDMETHODCALLTYPE AddRef() = 0;
    virtual ULONG STDMETHODCALLTYPE Release() = 0;

protected:
    ~IUnknown() = default;
};
using LPUNKNOWN = IUnknown*;

extern const IID IID_IUnknown;
extern const IID IID_IAgileObject;

// Apartments and process-wide security.
struct SOLE_AUTHENTICATION_SERVICE;
using CO_MTA_USAGE_COOKIE = void*;

enum CLSCTX : DWORD { CLSCTX_INPROC_SERVER = 0x1 };
enum : DWORD {
    RPC_C_AUTHN_LEVEL_DEFAULT = 0,
    RPC_C_AUTHN_LEVEL_CALL = 3,
    RPC_C_AUTHN_LEVEL_PKT_PRIVACY = 6,  // the highest authentication level
    RPC_C_IMP_LEVEL_IDENTIFY = 2,       // COM's default
    RPC_C_IMP_LEVEL_IMPERSONATE = 3,
    RPC_C_IMP_LEVEL_DELEGATE = 4,       // the highest impersonation level
    RPC_C_AUTHN_WINNT = 10,
    RPC_C_AUTHZ_NONE = 0,
};
enum EOLE_AUTHENTICATION_CAPABILITIES : DWORD { EOAC_NONE = 0 };

HRESULT CoInitialize(LPVOID pvReserved);
void CoUninitialize();
HRESULT CoIncrementMTAUsage(CO_MTA_USAGE_COOKIE* pCookie);
HRESULT CoInitializeSecurity(PSECURITY_DESCRIPTOR pSecDesc, LONG cAuthSvc,
                             SOLE_AUTHENTICATION_SERVICE* asAuthSvc, void* pReserved1,
                             DWORD dwAuthnLevel, DWORD dwImpLevel, void* pAuthList,
                             DWORD dwCapabilities, void* pReserved3);
HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid,
                         LPVOID* ppv);
HRESULT CoSetProxyBlanket(IUnknown* pProxy, DWORD dwAuthnSvc, DWORD dwAuthzSvc,
                          OLECHAR* pServerPrincName, DWORD dwAuthnLevel, DWORD dwImpLevel,
                          RPC_AUTH_IDENTITY_HANDLE pAuthInfo, DWORD dwCapabilities);

// The security blanket of a proxy: what CoSetProxyBlanket and
// CoQueryProxyBlanket reach through QueryInterface.
struct IClientSecurity : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE QueryBlanket(IUnknown* pProxy, DWORD* pAuthnSvc, DWORD* pAuthzSvc,
                                                   OLECHAR** pServerPrincName, DWORD* pAuthnLevel,
                                                   DWORD* pImpLevel, void** pAuthInfo, DWORD* pCapabilites) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBlanket(IUnknown* pProxy, DWORD dwAuthnSvc, DWORD dwAuthzSvc,
                                                 OLECHAR* pServerPrincName, DWORD dwAuthnLevel, DWORD dwImpLevel,
                                                 void* pAuthInfo, DWORD dwCapabilities) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyProxy(IUnknown* pProxy, IUnknown** ppCopy) = 0;

protected:
    ~IClientSecurity() = default;
};
extern const IID IID_IClientSecurity;

LPVOID CoTaskMemAlloc(SIZE_T cb);
void CoTaskMemFree(LPVOID pv);

// OLE Automation strings and VARIANTs.
enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I4 = 3,
    VT_BSTR = 8,
    VT_UNKNOWN = 13,
    VT_UI4 = 19,
};

struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        LONG lVal;
        ULONG ulVal;
        BSTR bstrVal;
        IUnknown* punkVal;
    };
};
using VARIANTARG = VARIANT;

BSTR SysAllocString(const OLECHAR* psz);
BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui);
void SysFreeString(BSTR bstrString);
UINT SysStringLen(BSTR pbstr);
void VariantInit(VARIANTARG* pvarg);
HRESULT VariantClear(VARIANTARG* pvarg);
