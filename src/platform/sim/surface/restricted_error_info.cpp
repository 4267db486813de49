// Restricted error information of the simulated Windows surface: one per
// thread, set by a failing component call (RoOriginateLanguageException) and
// taken, once, by GetRestrictedErrorInfo.
#include <string>

#include "platform.h"
#include "sim/model/surface_services.h"

namespace {

class RestrictedErrorInfo final : public sim::ComObject<IRestrictedErrorInfo> {
public:
    RestrictedErrorInfo(HRESULT error, std::wstring message) : error_(error), message_(std::move(message)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        return QueryFor(riid, object, {{IID_IUnknown, this}});
    }

    // The description is the system's text for the code; the restricted
    // description is the component's own message.
    HRESULT STDMETHODCALLTYPE GetErrorDetails(BSTR* description, HRESULT* error, BSTR* restrictedDescription,
                                              BSTR* capabilitySid) override {
        if (description == nullptr || error == nullptr || restrictedDescription == nullptr || capabilitySid == nullptr)
            return E_POINTER;
        wchar_t text[260];
        const DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                            static_cast<DWORD>(error_), 0, text, 260, nullptr);
        *description = length == 0 ? nullptr : SysAllocString(text);
        *restrictedDescription = SysAllocString(message_.c_str());
        *capabilitySid = nullptr;
        *error = error_;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetReference(BSTR* reference) override {
        if (reference == nullptr) return E_POINTER;
        *reference = nullptr;
        return S_OK;
    }

private:
    const HRESULT error_;
    const std::wstring message_;
};

// Released when its thread ends, so no information outlives its thread.
struct ThreadErrorInfo {
    IRestrictedErrorInfo* info = nullptr;
    ~ThreadErrorInfo() {
        if (info != nullptr) info->Release();
    }
};

thread_local ThreadErrorInfo current;

}  // namespace

BOOL RoOriginateLanguageException(HRESULT error, HSTRING message, IUnknown*) {
    if (SUCCEEDED(error)) return FALSE;
    UINT32 length = 0;
    const wchar_t* text = WindowsGetStringRawBuffer(message, &length);
    IRestrictedErrorInfo* info = nullptr;
    try {
        info = new RestrictedErrorInfo(error, std::wstring(text, length));
    } catch (...) {
        return FALSE;
    }
    if (current.info != nullptr) current.info->Release();
    current.info = info;
    return TRUE;
}

HRESULT GetRestrictedErrorInfo(IRestrictedErrorInfo** ppRestrictedErrorInfo) {
    if (ppRestrictedErrorInfo == nullptr) return E_POINTER;
    *ppRestrictedErrorInfo = current.info;
    current.info = nullptr;
    return *ppRestrictedErrorInfo == nullptr ? S_FALSE : S_OK;
}
