// The failures a failing Windows Runtime call raises. hresult_error carries
// the call's HRESULT and the platform's message for it; common codes are
// raised as the kinds derived from it, which every handler of hresult_error
// also takes. E_OUTOFMEMORY is raised as std::bad_alloc instead.
#pragma once

#include <exception>
#include <string>

#include "platform.h"

class hresult_error : public std::exception {
public:
    hresult_error(HRESULT code, std::wstring message);

    HRESULT code() const noexcept { return code_; }
    const std::wstring& message() const noexcept { return message_; }

    // "0x%08x - <message>", the message as UTF-8.
    const char* what() const noexcept override { return text_.c_str(); }

private:
    HRESULT code_;
    std::wstring message_;
    std::string text_;
};

#define SAR_HRESULT_KIND(kind, fixedCode)                                              \
    struct kind : hresult_error {                                                      \
        explicit kind(std::wstring message) : hresult_error(fixedCode, std::move(message)) {} \
    }

SAR_HRESULT_KIND(hresult_access_denied, E_ACCESSDENIED);
SAR_HRESULT_KIND(hresult_invalid_argument, E_INVALIDARG);
SAR_HRESULT_KIND(hresult_not_implemented, E_NOTIMPL);
SAR_HRESULT_KIND(hresult_no_interface, E_NOINTERFACE);
SAR_HRESULT_KIND(hresult_illegal_method_call, E_ILLEGAL_METHOD_CALL);
SAR_HRESULT_KIND(hresult_out_of_bounds, E_BOUNDS);
SAR_HRESULT_KIND(hresult_wrong_thread, RPC_E_WRONG_THREAD);

#undef SAR_HRESULT_KIND

// The platform's message for a failure code: the calling thread's restricted
// error information when it describes this code, else the system's message
// text; empty when neither has one. Either way the thread's restricted error
// information is taken, so it cannot be mistaken for a later failure's.
std::wstring PlatformMessage(HRESULT code);

// A failure code as one line for a person, as hresult_error's what() gives
// it: "0x%08x - <the platform's message>", or the bare code when there is no
// message.
std::string PlatformFailureText(HRESULT code);

// Raises the failure for code: std::bad_alloc for E_OUTOFMEMORY, the matching
// kind of hresult_error for the common codes, else hresult_error itself.
[[noreturn]] void throw_hresult(HRESULT code);

inline void check_hresult(HRESULT result) {
    if (FAILED(result)) throw_hresult(result);
}

// Raises when the platform reported success but handed back no object where
// one is needed, so that no call is ever made on a missing object.
template <typename Reference>
void check_present(const Reference& object) {
    if (!object) throw_hresult(E_POINTER);
}
