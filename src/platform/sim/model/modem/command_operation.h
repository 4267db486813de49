// A command sent to the modem's device service, as the simulated component
// hands it back: an asynchronous operation that completes on a completion
// thread once the modem's latency has passed on the laptop's clock, and the
// command result it yields.
#pragma once

#include <memory>
#include <mutex>

#include "sim/model/clock.h"
#include "sim/model/modem/runtime_object.h"
#include "sim/model/modem/sar_device.h"

namespace sim {

class CommandOperation final
    : public RuntimeObject<winrt_abi::ICommandResultAsyncOperation, winrt_abi::IAsyncInfo> {
public:
    // Starts the operation for a command the modem of `modemGeneration`
    // received: it completes with reply once the modem's latency has passed,
    // or, when it hangs ("hang NAME"), only once it is cancelled. Returns the
    // operation with one reference for the caller.
    static HRESULT Start(CommandReply reply, bool hangs, uint32_t modemGeneration,
                         winrt_abi::ICommandResultAsyncOperation** operation);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;

    // Registering the handler after completion invokes it at once, on the
    // caller's thread, as the Windows Runtime does; a handler can be
    // registered once.
    HRESULT STDMETHODCALLTYPE put_Completed(winrt_abi::ICommandResultCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE get_Completed(winrt_abi::ICommandResultCompletedHandler** handler) override;
    // Once the modem was replaced, a result of the modem before fails with
    // 0x80070015.
    HRESULT STDMETHODCALLTYPE GetResults(winrt_abi::IMobileBroadbandDeviceServiceCommandResult** results) override;

    HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) override;
    HRESULT STDMETHODCALLTYPE get_Status(winrt_abi::AsyncStatus* status) override;
    HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT* errorCode) override;
    // A command cannot be called back from the modem: a cancelled operation
    // completes as Canceled a little later, on its completion thread, with
    // the handler invoked as for any completion.
    HRESULT STDMETHODCALLTYPE Cancel() override;
    HRESULT STDMETHODCALLTYPE Close() override;

private:
    CommandOperation(CommandReply reply, uint32_t modemGeneration);
    ~CommandOperation() override;
    const wchar_t* ClassName() const override;

    // Under mutex_, or before the operation is handed out: schedules the
    // completion ms from now; the timed work holds a reference until it has
    // run or is dropped.
    void ScheduleCompletion(uint64_t ms);
    void Complete();

    std::mutex mutex_;
    const CommandReply reply_;
    const uint32_t modemGeneration_;
    const UINT32 id_;
    winrt_abi::AsyncStatus status_ = winrt_abi::AsyncStatus_Started;
    bool cancelRequested_ = false;
    bool handlerRegistered_ = false;
    winrt_abi::ICommandResultCompletedHandler* handler_ = nullptr;  // owned until invoked
    std::weak_ptr<TimedWork> completion_;
};

}  // namespace sim
