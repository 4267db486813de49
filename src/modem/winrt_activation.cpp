#include "winrt_activation.h"

#include <cwchar>

#include "win/hresult_error.h"

void* ActivateStatics(const wchar_t* className, REFIID iid) {
    HSTRING_HEADER header;
    HSTRING name = nullptr;
    check_hresult(WindowsCreateStringReference(className, static_cast<UINT32>(std::wcslen(className)), &header, &name));
    void* statics = nullptr;
    HRESULT result = RoGetActivationFactory(name, iid, &statics);
    if (result == CO_E_NOTINITIALIZED) {
        // The cookie is never handed back: membership lasts until the process ends.
        CO_MTA_USAGE_COOKIE cookie = nullptr;
        check_hresult(CoIncrementMTAUsage(&cookie));
        result = RoGetActivationFactory(name, iid, &statics);
    }
    check_hresult(result);
    if (statics == nullptr) throw_hresult(E_POINTER);
    return statics;
}

winrt_abi::IMobileBroadbandModemStatics& ModemStatics() {
    static auto* const statics = static_cast<winrt_abi::IMobileBroadbandModemStatics*>(
        ActivateStatics(winrt_abi::RuntimeClass_MobileBroadbandModem, winrt_abi::IID_IMobileBroadbandModemStatics));
    return *statics;
}

winrt_abi::ICryptographicBufferStatics& CryptographicBufferStatics() {
    static auto* const statics = static_cast<winrt_abi::ICryptographicBufferStatics*>(
        ActivateStatics(winrt_abi::RuntimeClass_CryptographicBuffer, winrt_abi::IID_ICryptographicBufferStatics));
    return *statics;
}
