#include "sim/model/modem/command_operation.h"

#include <atomic>
#include <new>
#include <system_error>
#include <utility>

#include "sim/model/laptop.h"
#include "sim/model/modem/buffer.h"
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

// How long after a cancel the operation completes as Canceled: the modem
// needs a moment to drop the command, and the waiter has given up by then.
constexpr uint64_t kCancelledCompletionMs = 1;

}  // namespace

CommandOperation::CommandOperation(CommandReply reply, uint32_t modemGeneration)
    : reply_(std::move(reply)), modemGeneration_(modemGeneration), id_(++lastOperationId) {}

CommandOperation::~CommandOperation() {
    if (handler_ != nullptr) handler_->Release();
}

const wchar_t* CommandOperation::ClassName() const {
    return L"Windows.Foundation.IAsyncOperation`1<Windows.Networking.NetworkOperators."
           L"MobileBroadbandDeviceServiceCommandResult>";
}

HRESULT CommandOperation::Start(CommandReply reply, bool hangs, uint32_t modemGeneration,
                                winrt_abi::ICommandResultAsyncOperation** operation) {
    *operation = nullptr;
    CommandOperation* started = nullptr;
    try {
        started = new CommandOperation(std::move(reply), modemGeneration);
        if (!hangs) started->ScheduleCompletion(started->reply_.latencyMs);
    } catch (const std::bad_alloc&) {
        if (started != nullptr) started->Release();
        return E_OUTOFMEMORY;
    } catch (const std::system_error&) {
        started->Release();
        return OriginateError(E_FAIL, L"No thread could be started to complete the command");
    }
    *operation = started;
    return S_OK;
}

void CommandOperation::ScheduleCompletion(uint64_t ms) {
    AddRef();
    const std::shared_ptr<CommandOperation> held(this, [](CommandOperation* operation) { operation->Release(); });
    completion_ = RunAfter(ms, [held] { held->Complete(); });
}

HRESULT CommandOperation::QueryInterface(REFIID riid, void** object) {
    return QueryRuntimeInterface(riid, object, winrt_abi::IID_ICommandResultAsyncOperation,
                                 {{winrt_abi::IID_IAsyncInfo, static_cast<winrt_abi::IAsyncInfo*>(this)}});
}

void CommandOperation::Complete() {
    winrt_abi::ICommandResultCompletedHandler* handler = nullptr;
    winrt_abi::AsyncStatus status = winrt_abi::AsyncStatus_Completed;
    {
        std::lock_guard lock(mutex_);
        if (status_ != winrt_abi::AsyncStatus_Started) return;
        status = status_ = cancelRequested_ ? winrt_abi::AsyncStatus_Canceled : winrt_abi::AsyncStatus_Completed;
        handler = std::exchange(handler_, nullptr);
    }
    if (handler != nullptr) {
        handler->Invoke(this, status);
        handler->Release();
    }
}

HRESULT CommandOperation::put_Completed(winrt_abi::ICommandResultCompletedHandler* handler) {
    if (const HRESULT fault = InjectedFault("Completed"); FAILED(fault)) return fault;
    if (handler == nullptr) return OriginateError(E_INVALIDARG, L"No completion handler was passed");
    winrt_abi::AsyncStatus status = winrt_abi::AsyncStatus_Started;
    {
        std::lock_guard lock(mutex_);
        if (handlerRegistered_)
            return OriginateError(E_ILLEGAL_METHOD_CALL, L"A completion handler is already registered");
        handlerRegistered_ = true;
        status = status_;
        if (status == winrt_abi::AsyncStatus_Started) {
            handler->AddRef();
            handler_ = handler;
            return S_OK;
        }
    }
    handler->Invoke(this, status);
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
    if (const HRESULT fault = ModemFault("GetResults", modemGeneration_); FAILED(fault)) return fault;
    {
        std::lock_guard lock(mutex_);
        if (status_ == winrt_abi::AsyncStatus_Started)
            return OriginateError(E_ILLEGAL_METHOD_CALL, L"The command has not completed yet");
        if (status_ == winrt_abi::AsyncStatus_Canceled)
            return OriginateError(E_ILLEGAL_METHOD_CALL, L"The command was canceled");
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
    *status = status_;
    return S_OK;
}

HRESULT CommandOperation::get_ErrorCode(HRESULT* errorCode) {
    if (errorCode == nullptr) return E_POINTER;
    *errorCode = S_OK;
    return S_OK;
}

HRESULT CommandOperation::Cancel() {
    std::lock_guard lock(mutex_);
    if (status_ != winrt_abi::AsyncStatus_Started || cancelRequested_) return S_OK;
    cancelRequested_ = true;
    try {
        if (const std::shared_ptr<TimedWork> pending = completion_.lock())
            pending->BringForward(kCancelledCompletionMs);
        else
            ScheduleCompletion(kCancelledCompletionMs);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::system_error&) {
        return OriginateError(E_FAIL, L"No thread could be started to complete the cancelled command");
    }
    return S_OK;
}

HRESULT CommandOperation::Close() { return S_OK; }

}  // namespace sim
