// Windows Runtime base of the simulated platform: IInspectable, HSTRING,
// initialization, activation and restricted error information.
#pragma once

#include "sim/surface/win_com.h"

enum TrustLevel { BaseTrust = 0, PartialTrust = 1, FullTrust = 2 };

struct HSTRING__;
using HSTRING = HSTRING__*;

// Storage for a string reference: the string lives in the caller's buffer and
// the header, and nothing is allocated.
struct HSTRING_HEADER {
    void* Reserved1;
    char Reserved2[24];
};

struct IInspectable : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetIids(ULONG* iidCount, IID** iids) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING* className) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel* trustLevel) = 0;

protected:
    ~IInspectable() = default;
};
extern const IID IID_IInspectable;

struct IActivationFactory : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE ActivateInstance(IInspectable** instance) = 0;

protected:
    ~IActivationFactory() = default;
};
extern const IID IID_IActivationFactory;

struct IRestrictedErrorInfo : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE GetErrorDetails(BSTR* description, HRESULT* error,
                                                      BSTR* restrictedDescription,
                                                      BSTR* capabilitySid) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetReference(BSTR* reference) = 0;

protected:
    ~IRestrictedErrorInfo() = default;
};

enum RO_INIT_TYPE { RO_INIT_SINGLETHREADED = 0, RO_INIT_MULTITHREADED = 1 };

HRESULT RoInitialize(RO_INIT_TYPE initType);
void RoUninitialize();
HRESULT RoGetActivationFactory(HSTRING activatableClassId, REFIID iid, void** factory);

HRESULT WindowsCreateString(PCNZWCH sourceString, UINT32 length, HSTRING* string);
HRESULT WindowsCreateStringReference(PCWSTR sourceString, UINT32 length,
                                     HSTRING_HEADER* hstringHeader, HSTRING* string);
HRESULT WindowsDeleteString(HSTRING string);
PCWSTR WindowsGetStringRawBuffer(HSTRING string, UINT32* length);

HRESULT GetRestrictedErrorInfo(IRestrictedErrorInfo** ppRestrictedErrorInfo);
BOOL RoOriginateLanguageException(HRESULT error, HSTRING message, IUnknown* languageException);
