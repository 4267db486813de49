#include "hresult_error.h"

#include <cstdio>
#include <new>

#include "com_holders.h"
#include "com_ptr.h"
#include "text.h"

namespace {

std::wstring Trimmed(std::wstring text) {
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
        text.pop_back();
    return text;
}

std::wstring Trimmed(const OwnedBstr& text) { return Trimmed(text ? std::wstring(text.get()) : std::wstring()); }

std::wstring RestrictedMessage(HRESULT code) {
    com_ptr<IRestrictedErrorInfo> info;
    if (GetRestrictedErrorInfo(info.put()) != S_OK || !info) return {};
    OwnedBstr description;
    OwnedBstr restrictedDescription;
    OwnedBstr capabilitySid;
    HRESULT error = S_OK;
    if (FAILED(info->GetErrorDetails(description.put(), &error, restrictedDescription.put(), capabilitySid.put())) ||
        error != code)
        return {};
    std::wstring message = Trimmed(restrictedDescription);
    return message.empty() ? Trimmed(description) : message;
}

std::wstring SystemMessage(HRESULT code) {
    wchar_t buffer[260];
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        static_cast<DWORD>(code), 0, buffer, 260, nullptr);
    return Trimmed(std::wstring(buffer, length));
}

std::string Describe(HRESULT code, const std::wstring& message) {
    char number[16];
    std::snprintf(number, sizeof number, "0x%08x", static_cast<unsigned>(code));
    return message.empty() ? std::string(number) : std::string(number) + " - " + Utf8(message);
}

}  // namespace

hresult_error::hresult_error(HRESULT code, std::wstring message)
    : code_(code), message_(std::move(message)), text_(Describe(code_, message_)) {}

std::wstring PlatformMessage(HRESULT code) {
    std::wstring message = RestrictedMessage(code);
    return message.empty() ? SystemMessage(code) : message;
}

std::string PlatformFailureText(HRESULT code) { return Describe(code, PlatformMessage(code)); }

void throw_hresult(HRESULT code) {
    std::wstring message = PlatformMessage(code);
    switch (code) {
    case E_OUTOFMEMORY: throw std::bad_alloc();
    case E_ACCESSDENIED: throw hresult_access_denied(std::move(message));
    case E_INVALIDARG: throw hresult_invalid_argument(std::move(message));
    case E_NOTIMPL: throw hresult_not_implemented(std::move(message));
    case E_NOINTERFACE: throw hresult_no_interface(std::move(message));
    case E_ILLEGAL_METHOD_CALL: throw hresult_illegal_method_call(std::move(message));
    case E_BOUNDS: throw hresult_out_of_bounds(std::move(message));
    case RPC_E_WRONG_THREAD: throw hresult_wrong_thread(std::move(message));
    default: throw hresult_error(code, std::move(message));
    }
}
