// What the Windows SDK declares and the MinGW-w64 headers lack: the Windows
// Runtime error API (restrictederrorinfo.h and roerrorapi.h; the functions are
// exported by combase.dll and resolved through runtimeobject) and a few
// Windows Runtime status codes of winerror.h. With the SDK's own headers this
// file adds nothing.
#pragma once

#include <windows.h>
#include <hstring.h>

#if __has_include(<roerrorapi.h>)
#include <roerrorapi.h>
#else
MIDL_INTERFACE("82ba7092-4c88-427d-a7bc-16dd93feb67e")
IRestrictedErrorInfo : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetErrorDetails(BSTR* description, HRESULT* error,
                                                      BSTR* restrictedDescription,
                                                      BSTR* capabilitySid) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetReference(BSTR* reference) = 0;
};
__CRT_UUID_DECL(IRestrictedErrorInfo, 0x82ba7092, 0x4c88, 0x427d, 0xa7, 0xbc, 0x16, 0xdd, 0x93, 0xfe, 0xb6, 0x7e)

extern "C" {
HRESULT WINAPI GetRestrictedErrorInfo(IRestrictedErrorInfo** ppRestrictedErrorInfo);
BOOL WINAPI RoOriginateLanguageException(HRESULT error, HSTRING message, IUnknown* languageException);
}
#endif

#ifndef E_BOUNDS
#define E_BOUNDS _HRESULT_TYPEDEF_(0x8000000BL)
#endif
#ifndef E_ILLEGAL_METHOD_CALL
#define E_ILLEGAL_METHOD_CALL _HRESULT_TYPEDEF_(0x8000000EL)
#endif
