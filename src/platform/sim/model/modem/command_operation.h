// A command sent to the modem's device service, as the simulated component
// hands it back: an asynchronous operation that completes from a thread of
// its own, and the command result it yields.
#pragma once

#include <mutex>

#include "sim/model/modem/runtime_object.h"
#include "sim/model/modem/sar_device.h"

namespace sim {

class CommandOperation final
    : public RuntimeObject<winrt_abi::ICommandResultAsyncOperation, winrt_abi::IAsyncInfo> {
public:
    // Starts the operation: it completes with reply once the modem's latency
    // has passed (at once on the virtual clock, where it passed at receipt).
    // Returns the operation with one reference for the caller.
    static HRESULT Start(CommandReply reply, winrt_abi::ICommandResultAsyncOperation** operation);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;

    // Registering the handler after completion invokes it at once, on the
    // caller's thread, as the Windows Runtime does; a handler can be
    // registered once.
    HRESULT STDMETHODCALLTYPE put_Completed(winrt_abi::ICommandResultCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE get_Completed(winrt_abi::ICommandResultCompletedHandler** handler) override;
    HRESULT STDMETHODCALLTYPE GetResults(winrt_abi::IMobileBroadbandDeviceServiceCommandResult** results) override;

    HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) override;
    HRESULT STDMETHODCALLTYPE get_Status(winrt_abi::AsyncStatus* status) override;
    HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT* errorCode) override;
    HRESULT STDMETHODCALLTYPE Cancel() override;
    HRESULT STDMETHODCALLTYPE Close() override;

private:
    explicit CommandOperation(CommandReply reply);
    ~CommandOperation() override;
    const wchar_t* ClassName() const override;
    void Complete();

    std::mutex mutex_;
    const CommandReply reply_;
    const UINT32 id_;
    bool completed_ = false;
    bool handlerRegistered_ = false;
    winrt_abi::ICommandResultCompletedHandler* handler_ = nullptr;  // owned until invoked
};

}  // namespace sim
