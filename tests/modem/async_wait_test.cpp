// The blocking wait for a modem command, against operations that complete
// before the handler is registered, later from another thread, or fail.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>

#include "async_wait.h"
#include "modem/mbsar.h"
#include "modem_test_support.h"
#include "win/hresult_error.h"

namespace {

// Reference counting shared by the stand-ins below; they live on the test's
// stack, so only the count is checked.
template <typename Interface>
class StandIn : public Interface {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override { return --references; }
    HRESULT STDMETHODCALLTYPE GetIids(ULONG*, IID**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetRuntimeClassName(HSTRING*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTrustLevel(TrustLevel*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }

    std::atomic<ULONG> references{1};
};

class Result final : public StandIn<winrt_abi::IMobileBroadbandDeviceServiceCommandResult> {
public:
    HRESULT STDMETHODCALLTYPE get_StatusCode(UINT32* value) override {
        *value = 42;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ResponseData(winrt_abi::IBuffer**) override { return E_NOTIMPL; }
};

enum class Completion { BeforeRegistration, LaterFromAnotherThread };

class Operation final : public StandIn<winrt_abi::ICommandResultAsyncOperation> {
public:
    Operation(Completion completion, HRESULT resultsCode) : completion_(completion), resultsCode_(resultsCode) {}
    ~Operation() {
        if (completer_.joinable()) completer_.join();
    }

    HRESULT STDMETHODCALLTYPE put_Completed(winrt_abi::ICommandResultCompletedHandler* handler) override {
        handler->AddRef();
        if (completion_ == Completion::BeforeRegistration) {
            Complete(handler);
        } else {
            completer_ = std::thread([this, handler] {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                Complete(handler);
            });
        }
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_Completed(winrt_abi::ICommandResultCompletedHandler**) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE GetResults(winrt_abi::IMobileBroadbandDeviceServiceCommandResult** results) override {
        if (FAILED(resultsCode_)) return resultsCode_;
        result.AddRef();
        *results = &result;
        return S_OK;
    }

    Result result;
    std::atomic<bool> handlerAnswersItsInterfaces{false};

private:
    void Complete(winrt_abi::ICommandResultCompletedHandler* handler) {
        handlerAnswersItsInterfaces = Answers(handler, IID_IUnknown) && Answers(handler, IID_IAgileObject) &&
                                      Answers(handler, winrt_abi::IID_ICommandResultCompletedHandler) &&
                                      !Answers(handler, IID_IInspectable);
        handler->Invoke(this, winrt_abi::AsyncStatus_Completed);
        handler->Release();
    }

    static bool Answers(IUnknown* object, REFIID iid) {
        void* answer = nullptr;
        if (FAILED(object->QueryInterface(iid, &answer))) return false;
        static_cast<IUnknown*>(answer)->Release();
        return true;
    }

    Completion completion_;
    HRESULT resultsCode_;
    std::thread completer_;
};

// Runs the wait on a thread of its own, so that a lost completion fails the
// test instead of hanging it.
UINT32 WaitedStatus(Operation& operation) {
    std::packaged_task<UINT32()> wait([&operation] {
        const auto result = WaitForCommandResult(operation);
        UINT32 status = 0;
        result->get_StatusCode(&status);
        return status;
    });
    std::future<UINT32> status = wait.get_future();
    std::thread waiter(std::move(wait));
    if (status.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "the wait never ended: the completion was lost";
        std::abort();
    }
    waiter.join();
    return status.get();
}

TEST(CommandWait, CompletionBeforeTheWaitIsNotLost) {
    Operation operation(Completion::BeforeRegistration, S_OK);
    EXPECT_EQ(WaitedStatus(operation), 42u);
    EXPECT_TRUE(operation.handlerAnswersItsInterfaces);
    EXPECT_EQ(operation.result.references, 1u) << "the result was not released";
}

TEST(CommandWait, CompletionFromAnotherThreadWakesTheWaiter) {
    Operation operation(Completion::LaterFromAnotherThread, S_OK);
    EXPECT_EQ(WaitedStatus(operation), 42u);
    EXPECT_TRUE(operation.handlerAnswersItsInterfaces);
}

TEST(CommandWait, FailedCommandIsRaisedByGetResults) {
    Operation operation(Completion::LaterFromAnotherThread, E_ACCESSDENIED);
    EXPECT_THROW(WaitForCommandResult(operation), hresult_access_denied);
    EXPECT_EQ(operation.references, 1u);
}

// The simulated modem completes each command from a thread of its own; many
// waits in a row must all end and leave nothing behind.
class SimulatedCommandWait : public ModemTest {};

TEST_F(SimulatedCommandWait, ManyCommandsAllComplete) {
    Start("");
    for (int i = 0; i < 200; ++i) {
        testing::internal::CaptureStdout();
        ASSERT_EQ(MBSar::GetTransmissionStatus(), 0u);
        testing::internal::GetCapturedStdout();
    }
}

}  // namespace
