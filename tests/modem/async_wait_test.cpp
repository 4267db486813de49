// The bounded wait for a modem command, against operations that complete
// before the handler is registered, later on the laptop's clock, never, or
// fail; and a wait that cannot be made.
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <thread>

#include "async_wait.h"
#include "modem/mbsar.h"
#include "modem_test_support.h"
#include "sim/model/clock.h"
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

class AsyncInfo final : public StandIn<winrt_abi::IAsyncInfo> {
public:
    HRESULT STDMETHODCALLTYPE get_Id(UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_Status(winrt_abi::AsyncStatus*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Cancel() override {
        ++cancels;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Close() override { return E_NOTIMPL; }

    std::atomic<int> cancels{0};
};

enum class Completion { BeforeRegistration, AfterTwentyMs, Never };

class Operation final : public StandIn<winrt_abi::ICommandResultAsyncOperation> {
public:
    Operation(Completion completion, HRESULT resultsCode) : completion_(completion), resultsCode_(resultsCode) {}
    ~Operation() {
        if (handler != nullptr) handler->Release();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (riid != winrt_abi::IID_IAsyncInfo) return E_NOINTERFACE;
        info.AddRef();
        *object = &info;
        return S_OK;
    }

    // The handler is kept, as the platform keeps it until it has invoked it.
    HRESULT STDMETHODCALLTYPE put_Completed(winrt_abi::ICommandResultCompletedHandler* registered) override {
        handler = registered;
        handler->AddRef();
        if (completion_ == Completion::BeforeRegistration) Complete();
        if (completion_ == Completion::AfterTwentyMs) sim::RunAfter(20, [this] { Complete(); });
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_Completed(winrt_abi::ICommandResultCompletedHandler**) override { return E_NOTIMPL; }

    HRESULT STDMETHODCALLTYPE GetResults(winrt_abi::IMobileBroadbandDeviceServiceCommandResult** results) override {
        if (FAILED(resultsCode_)) return resultsCode_;
        result.AddRef();
        *results = &result;
        return S_OK;
    }

    void Complete() {
        handlerAnswersItsInterfaces = Answers(handler, IID_IUnknown) && Answers(handler, IID_IAgileObject) &&
                                      Answers(handler, winrt_abi::IID_ICommandResultCompletedHandler) &&
                                      !Answers(handler, IID_IInspectable);
        handler->Invoke(this, winrt_abi::AsyncStatus_Completed);
    }

    Result result;
    AsyncInfo info;
    winrt_abi::ICommandResultCompletedHandler* handler = nullptr;
    std::atomic<bool> handlerAnswersItsInterfaces{false};

private:
    static bool Answers(IUnknown* object, REFIID iid) {
        void* answer = nullptr;
        if (FAILED(object->QueryInterface(iid, &answer))) return false;
        static_cast<IUnknown*>(answer)->Release();
        return true;
    }

    Completion completion_;
    HRESULT resultsCode_;
};

// Runs the wait on a thread of its own, so that a lost completion or an
// unbounded wait fails the test instead of hanging it; the failure's code
// when it raised one, else the result's status.
uint32_t WaitedStatus(Operation& operation) {
    std::packaged_task<uint32_t()> wait([&operation] {
        try {
            const auto result = WaitForCommandResult(operation);
            UINT32 status = 0;
            result->get_StatusCode(&status);
            return status;
        } catch (const hresult_error& failure) {
            return static_cast<uint32_t>(failure.code());
        }
    });
    std::future<uint32_t> status = wait.get_future();
    std::thread waiter(std::move(wait));
    if (status.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ADD_FAILURE() << "the wait never ended";
        std::abort();
    }
    waiter.join();
    return status.get();
}

// The fixture checks that every event the waits made was closed.
class CommandWait : public ModemTest {};

TEST_F(CommandWait, CompletionBeforeTheWaitIsNotLost) {
    Operation operation(Completion::BeforeRegistration, S_OK);
    EXPECT_EQ(WaitedStatus(operation), 42u);
    EXPECT_TRUE(operation.handlerAnswersItsInterfaces);
    EXPECT_EQ(operation.result.references, 1u) << "the result was not released";
}

TEST_F(CommandWait, CompletionOnTheLaptopsClockWakesTheWaiter) {
    Operation operation(Completion::AfterTwentyMs, S_OK);
    EXPECT_EQ(WaitedStatus(operation), 42u);
    EXPECT_EQ(sim::NowMs(), 20u) << "the wait lasts until the completion, not longer";
    EXPECT_TRUE(operation.handlerAnswersItsInterfaces);
    EXPECT_EQ(operation.info.cancels, 0);
}

TEST_F(CommandWait, FailedCommandIsRaisedByGetResults) {
    Operation operation(Completion::AfterTwentyMs, E_ACCESSDENIED);
    EXPECT_EQ(WaitedStatus(operation), static_cast<uint32_t>(E_ACCESSDENIED));
    EXPECT_EQ(operation.references, 1u);
}

// A command that never completes is given up after 10 s: cancelled through
// IAsyncInfo (released again), and raised as a time-out. Its completion,
// when it comes after that, sets an event no one waits on, which is closed
// once the handler goes.
TEST_F(CommandWait, CommandThatNeverCompletesIsCancelledAfterTenSeconds) {
    Operation operation(Completion::Never, S_OK);
    EXPECT_EQ(WaitedStatus(operation), static_cast<uint32_t>(kCommandTimedOut));
    EXPECT_EQ(sim::NowMs(), kCommandWaitMs);
    EXPECT_EQ(operation.info.cancels, 1);
    EXPECT_EQ(operation.info.references, 1u);
    EXPECT_EQ(sim::CurrentCounts().handles, 1) << "the handler, still registered, keeps its event";
    operation.Complete();
}

// A wait that cannot be made, or that fails, is a failure of the command;
// one that failed cancels the operation it gave up on.
TEST_F(CommandWait, FailingWaitIsRaised) {
    const struct {
        const char* scenario;
        uint32_t raised;
        int cancels;
    } rows[] = {
        {"0 fail CreateEventW 0x80070008\n", 0x80070008u, 0},
        {"0 fail WaitForSingleObject 0x80070006\n", 0x80070006u, 1},
        {"0 fail WaitForSingleObject 0x80004005\n", 0x80004005u, 1},
    };
    for (const auto& row : rows) {
        Start(row.scenario);
        Operation operation(Completion::AfterTwentyMs, S_OK);
        EXPECT_EQ(WaitedStatus(operation), row.raised) << row.scenario;
        EXPECT_EQ(operation.info.cancels, row.cancels) << row.scenario;
        sim::PassMs(20);
    }
}

// The simulated modem completes each command from a thread of its own; many
// waits in a row must all end and leave nothing behind.
TEST_F(CommandWait, ManySimulatedCommandsAllComplete) {
    Start("");
    for (int i = 0; i < 200; ++i) {
        testing::internal::CaptureStdout();
        ASSERT_TRUE(MBSar::GetTransmissionStatus().freshAnswer);
        testing::internal::GetCapturedStdout();
    }
}

}  // namespace
