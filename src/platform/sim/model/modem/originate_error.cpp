#include "sim/model/modem/originate_error.h"

#include "sim/model/laptop.h"

namespace sim {

HRESULT OriginateError(HRESULT code, const std::wstring& message) {
    HSTRING text = nullptr;
    // Without the message the failure still stands; it just comes without
    // error information.
    if (SUCCEEDED(WindowsCreateString(message.c_str(), static_cast<UINT32>(message.size()), &text))) {
        RoOriginateLanguageException(code, text, nullptr);
        WindowsDeleteString(text);
    }
    return code;
}

HRESULT InjectedFault(const char* call) {
    const HRESULT fault = TheLaptop().TakeFault(call);
    if (SUCCEEDED(fault)) return S_OK;
    std::wstring message;
    for (const char* c = call; *c != '\0'; ++c) message += static_cast<wchar_t>(*c);
    return OriginateError(fault, message + L" failed on the simulated laptop");
}

HRESULT ModemFault(const char* call, uint32_t generation) {
    // HRESULT_FROM_WIN32(ERROR_NOT_READY)
    constexpr HRESULT kDeviceNotReady = static_cast<HRESULT>(0x80070015u);
    if (const HRESULT fault = InjectedFault(call); FAILED(fault)) return fault;
    if (TheLaptop().Now().modemGeneration == generation) return S_OK;
    return OriginateError(kDeviceNotReady, L"The modem was replaced; this object belongs to the one before");
}

}  // namespace sim
