// The simulated modem and what hangs off it: device information, the SAR
// device service and its command sessions, and the modem's statics.
#include <atomic>
#include <cwchar>
#include <new>

#include "sim/model/call_record.h"
#include "sim/model/laptop.h"
#include "sim/model/modem/buffer.h"
#include "sim/model/modem/command_operation.h"
#include "sim/model/modem/device_model.h"
#include "sim/model/modem/originate_error.h"
#include "sim/model/modem/sar_device.h"
#include "sim/model/plain_text.h"
#include "sim/model/run_record.h"

namespace sim {
namespace {

// UUID_MS_SARControl, the device service of the MBIM MS SAR extension.
constexpr GUID kSarServiceId{0x68223d04, 0x9f6c, 0x4e0f, {0x82, 0x2d, 0x28, 0x44, 0x1f, 0xb7, 0x23, 0x40}};
// HRESULT_FROM_WIN32(ERROR_NOT_FOUND)
constexpr HRESULT kNotFound = static_cast<HRESULT>(0x80070490u);

// Hands out a new object through an out parameter, or E_OUTOFMEMORY.
template <typename Interface, typename Object, typename... Arguments>
HRESULT Make(Interface** out, Arguments&&... arguments) {
    try {
        *out = new Object(std::forward<Arguments>(arguments)...);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

// Every object hangs off one modem, the one of `generation`: once it is
// replaced ("modem replaced"), its calls fail with 0x80070015 (ModemFault).
class CommandSession final : public RuntimeObject<winrt_abi::IMobileBroadbandDeviceServiceCommandSession> {
public:
    explicit CommandSession(uint32_t generation) : generation_(generation) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        return QueryRuntimeInterface(riid, object, winrt_abi::IID_IMobileBroadbandDeviceServiceCommandSession);
    }

    HRESULT STDMETHODCALLTYPE SendQueryCommandAsync(UINT32 commandId, winrt_abi::IBuffer* data,
                                                    winrt_abi::ICommandResultAsyncOperation** asyncInfo) override {
        return Send(false, "SendQueryCommandAsync", commandId, data, asyncInfo);
    }

    HRESULT STDMETHODCALLTYPE SendSetCommandAsync(UINT32 commandId, winrt_abi::IBuffer* data,
                                                  winrt_abi::ICommandResultAsyncOperation** asyncInfo) override {
        return Send(true, "SendSetCommandAsync", commandId, data, asyncInfo);
    }

    HRESULT STDMETHODCALLTYPE CloseSession() override {
        if (RecordingCalls()) RecordCall("CloseSession", {ObjectArg(this)});
        if (const HRESULT fault = ModemFault("CloseSession", generation_); FAILED(fault)) return fault;
        closed_ = true;
        return S_OK;
    }

private:
    const wchar_t* ClassName() const override {
        return L"Windows.Networking.NetworkOperators.MobileBroadbandDeviceServiceCommandSession";
    }

    HRESULT Send(bool isSet, const char* call, UINT32 commandId, winrt_abi::IBuffer* data,
                 winrt_abi::ICommandResultAsyncOperation** asyncInfo) {
        if (asyncInfo == nullptr) return E_POINTER;
        *asyncInfo = nullptr;
        if (const HRESULT fault = ModemFault(call, generation_); FAILED(fault)) {
            RecordUndeliveredModemCommand(isSet, commandId, fault);
            return fault;
        }
        if (closed_) return OriginateError(E_ILLEGAL_METHOD_CALL, L"The command session is closed");
        try {
            std::vector<uint8_t> request;
            if (const HRESULT result = ReadBuffer(data, request); FAILED(result)) return result;
            if (RecordingCalls())
                RecordCall(call, {ObjectArg(this), std::to_string(commandId), HexBytes(request)});
            CommandReply reply = ReceiveSarCommand(isSet, commandId, request);
            if (TheLaptop().TakeMissingObject(call)) return S_OK;  // sent, but no operation to follow it
            return CommandOperation::Start(std::move(reply), TheLaptop().TakeHang(call), generation_, asyncInfo);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

    const uint32_t generation_;
    std::atomic<bool> closed_{false};
};

class DeviceService final : public RuntimeObject<winrt_abi::IMobileBroadbandDeviceService> {
public:
    explicit DeviceService(uint32_t generation) : generation_(generation) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        return QueryRuntimeInterface(riid, object, winrt_abi::IID_IMobileBroadbandDeviceService);
    }

    HRESULT STDMETHODCALLTYPE get_DeviceServiceId(GUID* value) override {
        if (value == nullptr) return E_POINTER;
        *value = kSarServiceId;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_SupportedCommands(void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OpenDataSession(void**) override { return E_NOTIMPL; }

    // "session none" (or "none OpenCommandSession"): no session, and no
    // failure either.
    HRESULT STDMETHODCALLTYPE OpenCommandSession(
        winrt_abi::IMobileBroadbandDeviceServiceCommandSession** value) override {
        if (value == nullptr) return E_POINTER;
        *value = nullptr;
        if (const HRESULT fault = ModemFault("OpenCommandSession", generation_); FAILED(fault)) return fault;
        if (!TheLaptop().Now().sessionAvailable || TheLaptop().TakeMissingObject("OpenCommandSession")) return S_OK;
        const HRESULT made =
            Make<winrt_abi::IMobileBroadbandDeviceServiceCommandSession, CommandSession>(value, generation_);
        if (SUCCEEDED(made) && RecordingCalls()) RecordCall("OpenCommandSession", {}, NewObjectArg(*value, "session"));
        return made;
    }

private:
    const wchar_t* ClassName() const override {
        return L"Windows.Networking.NetworkOperators.MobileBroadbandDeviceService";
    }

    const uint32_t generation_;
};

// The device information of a replaced modem goes on reading the radio
// state that modem last had.
class DeviceInformation final : public RuntimeObject<winrt_abi::IMobileBroadbandDeviceInformation> {
public:
    explicit DeviceInformation(uint32_t generation) : generation_(generation) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        return QueryRuntimeInterface(riid, object, winrt_abi::IID_IMobileBroadbandDeviceInformation);
    }

    HRESULT STDMETHODCALLTYPE get_CurrentRadioState(winrt_abi::MobileBroadbandRadioState* value) override {
        if (value == nullptr) return E_POINTER;
        *value = winrt_abi::MobileBroadbandRadioState_Off;
        if (const HRESULT fault = InjectedFault("CurrentRadioState"); FAILED(fault)) return fault;
        if (TheLaptop().Now().RadioOnFor(generation_)) *value = winrt_abi::MobileBroadbandRadioState_On;
        return S_OK;
    }

    // The strings a person identifies the modem by: fixed, plausible values.
    HRESULT STDMETHODCALLTYPE get_Manufacturer(HSTRING* value) override { return Text(L"Simulated Wireless", value); }
    HRESULT STDMETHODCALLTYPE get_Model(HSTRING* value) override { return Text(L"SW-L860 LTE", value); }
    HRESULT STDMETHODCALLTYPE get_FirmwareInformation(HSTRING* value) override {
        return Text(L"18500.5001.00.05.27.30", value);
    }

    HRESULT STDMETHODCALLTYPE get_NetworkDeviceStatus(INT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CellularClass(INT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_DataClasses(UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CustomDataClass(HSTRING*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_MobileEquipmentId(HSTRING*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_TelephoneNumbers(void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_SubscriberId(HSTRING*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_SimIccId(HSTRING*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_DeviceType(INT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_DeviceId(HSTRING*) override { return E_NOTIMPL; }

private:
    const wchar_t* ClassName() const override {
        return L"Windows.Networking.NetworkOperators.MobileBroadbandDeviceInformation";
    }

    static HRESULT Text(const wchar_t* text, HSTRING* value) {
        if (value == nullptr) return E_POINTER;
        return WindowsCreateString(text, static_cast<UINT32>(std::wcslen(text)), value);
    }

    const uint32_t generation_;
};

class Modem final : public RuntimeObject<winrt_abi::IMobileBroadbandModem> {
public:
    explicit Modem(uint32_t generation) : generation_(generation) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        return QueryRuntimeInterface(riid, object, winrt_abi::IID_IMobileBroadbandModem);
    }

    HRESULT STDMETHODCALLTYPE get_DeviceInformation(winrt_abi::IMobileBroadbandDeviceInformation** value) override {
        if (value == nullptr) return E_POINTER;
        *value = nullptr;
        if (const HRESULT fault = ModemFault("DeviceInformation", generation_); FAILED(fault)) return fault;
        if (TheLaptop().TakeMissingObject("DeviceInformation")) return S_OK;
        return Make<winrt_abi::IMobileBroadbandDeviceInformation, DeviceInformation>(value, generation_);
    }

    // The modem offers one device service, the SAR service.
    HRESULT STDMETHODCALLTYPE GetDeviceService(GUID deviceServiceId,
                                               winrt_abi::IMobileBroadbandDeviceService** value) override {
        if (value == nullptr) return E_POINTER;
        *value = nullptr;
        if (const HRESULT fault = ModemFault("GetDeviceService", generation_); FAILED(fault)) return fault;
        if (deviceServiceId != kSarServiceId)
            return OriginateError(kNotFound, L"The modem has no device service with this identifier");
        if (TheLaptop().TakeMissingObject("GetDeviceService")) return S_OK;
        return Make<winrt_abi::IMobileBroadbandDeviceService, DeviceService>(value, generation_);
    }

    HRESULT STDMETHODCALLTYPE get_CurrentAccount(void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_MaxDeviceServiceCommandSizeInBytes(UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_MaxDeviceServiceDataSizeInBytes(UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_DeviceServices(void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_IsResetSupported(boolean*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ResetAsync(void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCurrentConfigurationAsync(void**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE get_CurrentNetwork(void**) override { return E_NOTIMPL; }

private:
    const wchar_t* ClassName() const override { return L"Windows.Networking.NetworkOperators.MobileBroadbandModem"; }

    const uint32_t generation_;
};

class ModemStatics final : public StaticsFactory<winrt_abi::IMobileBroadbandModemStatics> {
public:
    // "modem absent" (or "none GetDefault"): no default modem, and no failure
    // either. After "modem replaced", the modem handed out is the new one.
    HRESULT STDMETHODCALLTYPE GetDefault(winrt_abi::IMobileBroadbandModem** value) override {
        if (value == nullptr) return E_POINTER;
        *value = nullptr;
        if (const HRESULT fault = InjectedFault("GetDefault"); FAILED(fault)) return fault;
        const LaptopState now = TheLaptop().Now();
        if (!now.modemPresent || TheLaptop().TakeMissingObject("GetDefault")) return S_OK;
        return Make<winrt_abi::IMobileBroadbandModem, Modem>(value, now.modemGeneration);
    }

    HRESULT STDMETHODCALLTYPE GetDeviceSelector(HSTRING*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FromId(HSTRING, winrt_abi::IMobileBroadbandModem**) override { return E_NOTIMPL; }

private:
    const IID& StaticsIid() const override { return winrt_abi::IID_IMobileBroadbandModemStatics; }
};

bool NameIs(HSTRING name, const wchar_t* expected) {
    UINT32 length = 0;
    const wchar_t* text = WindowsGetStringRawBuffer(name, &length);
    return length == std::wcslen(expected) && std::wmemcmp(text, expected, length) == 0;
}

}  // namespace

HRESULT GetActivationFactory(HSTRING classId, IActivationFactory** factory) {
    static ModemStatics modemStatics;
    if (factory == nullptr) return E_POINTER;
    if (NameIs(classId, winrt_abi::RuntimeClass_MobileBroadbandModem))
        *factory = &modemStatics;
    else if (NameIs(classId, winrt_abi::RuntimeClass_CryptographicBuffer))
        *factory = CryptographicBufferFactory();
    else {
        *factory = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return S_OK;
}

}  // namespace sim
