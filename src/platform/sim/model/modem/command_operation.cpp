#include "sim/model/modem/command_operation.h"

#include <atomic>
#include <new>
#include <system_error>
#include <utility>

#include "sim/model/clock.h"
#include "sim/model/laptop.h"
#include "sim/model/modem/buffer.h"
#include "sim/model/modem/completion_threads.h"
#include "sim/model/modem/originate_error.h"

namespace sim {
namespace {

class CommandResult final : public RuntimeObject<winrt_abi::IMobileBroadbandDeviceServiceCommandResult> {
public:
    CommandResult(UINT32 status, std::vector<uint8_t> data) : status_(status), data_(std::move(data)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        return QueryRuntimeInterface(riid, object, winrt_abi::IID_IMobileBroadbandDeviceServiceCommandResult);
    }

    HRESULT STDMETHODCALLTYPE get_StatusCode(UINT32* value) override {
        if (value == nullptr) return E_POINTER;
        *value = 0;
        if (const HRESULT fault = InjectedFault("StatusCode"); FAILED(fault)) return fault;
        *value = status_;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_ResponseData(winrt_abi::IBuffer** value) override {
        if (value == nullptr) return E_POINTER;
        *value = nullptr;
        if (const HRESULT fault = InjectedFault("ResponseData"); FAILED(fault)) return fault;
        if (TheLaptop().TakeMissingObject("ResponseData")) return S_OK;
        try {
            *value = new ByteBuffer(data_);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }

private:
    const wchar_t* ClassName() const override {
        return L"Windows.Networking.NetworkOperators.MobileBroadbandDeviceServiceCommandResult";
    }

    const UINT32 status_;
    const std::vector<uint8_t> data_;
};

std::atomic<UINT32> lastOperationId{0};

}  // namespace

CommandOperation::CommandOperation(CommandReply reply) : reply_(std::move(reply)), id_(++lastOperationId) {}

CommandOperation::~CommandOperation() {
    if (handler_ != nullptr) handler_->Release();
}

const wchar_t* CommandOperation::ClassName() const {
    return L"Windows.Foundation.IAsyncOperation`1<Windows.Networking.NetworkOperators."
           L"MobileBroadbandDeviceServiceCommandResult>";
}

HRESULT CommandOperation::Start(CommandReply reply, winrt_abi::ICommandResultAsyncOperation** operation) {
    *operation = nullptr;
    CommandOperation* started = nullptr;
    try {
        started = new CommandOperation(std::move(reply));
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    // The completion thread holds a reference until it is done.
    started->AddRef();
    const uint32_t delayMs = ClockIsVirtual() ? 0 : started->reply_.latencyMs;
    try {
        RunOnCompletionThread([started, delayMs] {
            if (delayMs > 0) PassMs(delayMs);
            started->Complete();
            started->Release();
        });
    } catch (const std::bad_alloc&) {
        started->Release();
        started->Release();
        return E_OUTOFMEMORY;
    } catch (const std::system_error&) {
        started->Release();
        started->Release();
        return OriginateError(E_FAIL, L"No thread could be started to complete the command");
    }
    *operation = started;
    return S_OK;
}

HRESULT CommandOperation::QueryInterface(REFIID riid, void** object) {
    return QueryRuntimeInterface(riid, object, winrt_abi::IID_ICommandResultAsyncOperation,
                                 {{winrt_abi::IID_IAsyncInfo, static_cast<winrt_abi::IAsyncInfo*>(this)}});
}

void CommandOperation::Complete() {
    winrt_abi::ICommandResultCompletedHandler* handler = nullptr;
    {
        std::lock_guard lock(mutex_);
        completed_ = true;
        handler = std::exchange(handler_, nullptr);
    }
    if (handler != nullptr) {
        handler->Invoke(this, winrt_abi::AsyncStatus_Completed);
        handler->Release();
    }
}

HRESULT CommandOperation::put_Completed(winrt_abi::ICommandResultCompletedHandler* handler) {
    if (const HRESULT fault = InjectedFault("Completed"); FAILED(fault)) return fault;
    if (handler == nullptr) return OriginateError(E_INVALIDARG, L"No completion handler was passed");
    {
        std::lock_guard lock(mutex_);
        if (handlerRegistered_)
            return OriginateError(E_ILLEGAL_METHOD_CALL, L"A completion handler is already registered");
        handlerRegistered_ = true;
        if (!completed_) {
            handler->AddRef();
            handler_ = handler;
            return S_OK;
        }
    }
    handler->Invoke(this, winrt_abi::AsyncStatus_Completed);
    return S_OK;
}

HRESULT CommandOperation::get_Completed(winrt_abi::ICommandResultCompletedHandler** handler) {
    if (handler == nullptr) return E_POINTER;
    std::lock_guard lock(mutex_);
    *handler = handler_;
    if (handler_ != nullptr) handler_->AddRef();
    return S_OK;
}

HRESULT CommandOperation::GetResults(winrt_abi::IMobileBroadbandDeviceServiceCommandResult** results) {
    if (results == nullptr) return E_POINTER;
    *results = nullptr;
    if (const HRESULT fault = InjectedFault("GetResults"); FAILED(fault)) return fault;
    {
        std::lock_guard lock(mutex_);
        if (!completed_) return OriginateError(E_ILLEGAL_METHOD_CALL, L"The command has not completed yet");
    }
    if (TheLaptop().TakeMissingObject("GetResults")) return S_OK;
    try {
        *results = new CommandResult(reply_.status, reply_.data);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

HRESULT CommandOperation::get_Id(UINT32* id) {
    if (id == nullptr) return E_POINTER;
    *id = id_;
    return S_OK;
}

HRESULT CommandOperation::get_Status(winrt_abi::AsyncStatus* status) {
    if (status == nullptr) return E_POINTER;
    std::lock_guard lock(mutex_);
    *status = completed_ ? winrt_abi::AsyncStatus_Completed : winrt_abi::AsyncStatus_Started;
    return S_OK;
}

HRESULT CommandOperation::get_ErrorCode(HRESULT* errorCode) {
    if (errorCode == nullptr) return E_POINTER;
    *errorCode = S_OK;
    return S_OK;
}

// A modem command cannot be called back once sent; it completes regardless.
HRESULT CommandOperation::Cancel() { return S_OK; }

HRESULT CommandOperation::Close() { return S_OK; }

}  // namespace sim
