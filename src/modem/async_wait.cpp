#include "async_wait.h"

#include <atomic>
#include <condition_variable>
#include <mutex>

#include "win/hresult_error.h"

namespace {

// The completion handler, which also owns the state of the one wait it serves:
// lock, done flag and condition variable live as long as the handler, and the
// waiter holds a reference on it, so they stay valid until the platform's
// thread has finished waking the waiter.
class CompletionHandler final : public winrt_abi::ICommandResultCompletedHandler {
public:
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

    // Runs on the platform's thread; the completion status is not looked at.
    HRESULT STDMETHODCALLTYPE Invoke(winrt_abi::ICommandResultAsyncOperation*, winrt_abi::AsyncStatus) override {
        std::lock_guard lock(mutex_);
        done_ = true;
        completed_.notify_all();
        return S_OK;
    }

    void Wait() {
        std::unique_lock lock(mutex_);
        completed_.wait(lock, [this] { return done_; });
    }

private:
    std::atomic<ULONG> references_{1};
    std::mutex mutex_;
    std::condition_variable completed_;
    bool done_ = false;
};

}  // namespace

com_ptr<winrt_abi::IMobileBroadbandDeviceServiceCommandResult> WaitForCommandResult(
    winrt_abi::ICommandResultAsyncOperation& operation) {
    const auto handler = com_ptr<CompletionHandler>::attach(new CompletionHandler);
    check_hresult(operation.put_Completed(handler.get()));
    handler->Wait();
    com_ptr<winrt_abi::IMobileBroadbandDeviceServiceCommandResult> result;
    check_hresult(operation.GetResults(result.put()));
    check_present(result);
    return result;
}
