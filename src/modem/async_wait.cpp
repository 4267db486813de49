#include "async_wait.h"

#include <atomic>

#include "win/hresult_error.h"

namespace {

// The calling thread's last Win32 error as a failure.
HRESULT LastError() {
    const DWORD error = GetLastError();
    return error != 0 ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

// The completion handler, which also owns the one wait it serves: an unnamed
// manual-reset event, set when the handler runs and closed when the handler
// goes. The waiter and the operation each hold a reference, so a completion
// that comes after the waiter gave up still finds the event open and sets it
// for no one.
class CompletionHandler final : public winrt_abi::ICommandResultCompletedHandler {
public:
    // A new handler with one reference, or a raised failure when no event
    // can be made.
    static com_ptr<CompletionHandler> Make() {
        auto handler = com_ptr<CompletionHandler>::attach(new CompletionHandler);
        if (handler->completed_ == nullptr) throw_hresult(LastError());
        return handler;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IAgileObject || riid == winrt_abi::IID_ICommandResultCompletedHandler) {
            *object = static_cast<winrt_abi::ICommandResultCompletedHandler*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }

    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }

    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    // Runs on the platform's thread; the completion status is not looked at:
    // GetResults tells success from failure.
    HRESULT STDMETHODCALLTYPE Invoke(winrt_abi::ICommandResultAsyncOperation*, winrt_abi::AsyncStatus) override {
        SetEvent(completed_);
        return S_OK;
    }

    // S_OK once the handler has run, kCommandTimedOut when it has not within
    // ms, or the failure of the wait itself.
    HRESULT Wait(DWORD ms) const {
        switch (WaitForSingleObject(completed_, ms)) {
        case WAIT_OBJECT_0: return S_OK;
        case WAIT_TIMEOUT: return kCommandTimedOut;
        default: return LastError();
        }
    }

private:
    CompletionHandler() : completed_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~CompletionHandler() {
        if (completed_ != nullptr) CloseHandle(completed_);
    }

    std::atomic<ULONG> references_{1};
    const HANDLE completed_;
};

// Asks the platform to give up the operation. Whether it can is its own
// business: the operation completes either way, and its result is not read.
void Cancel(winrt_abi::ICommandResultAsyncOperation& operation) {
    com_ptr<winrt_abi::IAsyncInfo> info;
    if (SUCCEEDED(operation.QueryInterface(winrt_abi::IID_IAsyncInfo, reinterpret_cast<void**>(info.put()))) && info)
        info->Cancel();
}

}  // namespace

com_ptr<winrt_abi::IMobileBroadbandDeviceServiceCommandResult> WaitForCommandResult(
    winrt_abi::ICommandResultAsyncOperation& operation) {
    const com_ptr<CompletionHandler> handler = CompletionHandler::Make();
    check_hresult(operation.put_Completed(handler.get()));
    if (const HRESULT waited = handler->Wait(kCommandWaitMs); FAILED(waited)) {
        Cancel(operation);
        throw_hresult(waited);
    }
    com_ptr<winrt_abi::IMobileBroadbandDeviceServiceCommandResult> result;
    check_hresult(operation.GetResults(result.put()));
    check_present(result);
    return result;
}
