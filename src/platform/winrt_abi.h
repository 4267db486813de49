// Our declarations of the Windows Runtime ABI interfaces the modem side uses:
// Windows.Networking.NetworkOperators, the asynchronous operation over its
// command result, CryptographicBuffer statics and byte buffers. Slot order and
// interface identifiers are those of the published metadata; every slot is
// declared, used or not, so the vtables match the operating system's.
//
// They live in a namespace of their own so that they never collide with the
// SDK's or MinGW-w64's partial versions of the same interfaces.
#pragma once

namespace winrt_abi {

// IIDs are spelled out here rather than taken from an import library, so both
// builds and the simulated modem component share one definition.
inline constexpr IID IID_IMobileBroadbandModemStatics{
    0xf99ed637, 0xd6f1, 0x4a78, {0x8c, 0xbc, 0x64, 0x21, 0xa6, 0x50, 0x63, 0xc8}};
inline constexpr IID IID_IMobileBroadbandModem{
    0xd0356912, 0xe9f9, 0x4f67, {0xa0, 0x3d, 0x43, 0x18, 0x9a, 0x31, 0x6b, 0xf1}};
inline constexpr IID IID_IMobileBroadbandDeviceInformation{
    0xe6d08168, 0xe381, 0x4c6e, {0x9b, 0xe8, 0xfe, 0x15, 0x69, 0x69, 0xa4, 0x46}};
inline constexpr IID IID_IMobileBroadbandDeviceService{
    0x22be1a52, 0xbd80, 0x40ac, {0x8e, 0x1f, 0x2e, 0x07, 0x83, 0x6a, 0x3d, 0xbd}};
inline constexpr IID IID_IMobileBroadbandDeviceServiceCommandSession{
    0xfc098a45, 0x913b, 0x4914, {0xb6, 0xc3, 0xae, 0x63, 0x04, 0x59, 0x3e, 0x75}};
inline constexpr IID IID_IMobileBroadbandDeviceServiceCommandResult{
    0xb0f46abb, 0x94d6, 0x44b9, {0xa5, 0x38, 0xf0, 0x81, 0x0b, 0x64, 0x53, 0x89}};
// IAsyncOperation<MobileBroadbandDeviceServiceCommandResult> and its completion
// handler, computed from their parameterized signatures.
inline constexpr IID IID_ICommandResultAsyncOperation{
    0x2c673aa8, 0x6a35, 0x50fd, {0x94, 0x22, 0x36, 0x15, 0xa1, 0xc2, 0x8c, 0xcb}};
inline constexpr IID IID_ICommandResultCompletedHandler{
    0x21f0ce4f, 0x8f33, 0x5e71, {0xa4, 0x57, 0xdd, 0xa5, 0x53, 0xb0, 0xd6, 0xbb}};
inline constexpr IID IID_IAsyncInfo{
    0x00000036, 0x0000, 0x0000, {0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr IID IID_ICryptographicBufferStatics{
    0x320b7e22, 0x3cb0, 0x4cdf, {0x86, 0x63, 0x1d, 0x28, 0x91, 0x00, 0x65, 0xeb}};
inline constexpr IID IID_IBuffer{
    0x905a0fe0, 0xbc53, 0x11df, {0x8c, 0x49, 0x00, 0x1e, 0x4f, 0xc6, 0x86, 0xda}};
inline constexpr IID IID_IBufferByteAccess{
    0x905a0fef, 0xbc53, 0x11df, {0x8c, 0x49, 0x00, 0x1e, 0x4f, 0xc6, 0x86, 0xda}};

inline constexpr wchar_t RuntimeClass_MobileBroadbandModem[] =
    L"Windows.Networking.NetworkOperators.MobileBroadbandModem";
inline constexpr wchar_t RuntimeClass_CryptographicBuffer[] =
    L"Windows.Security.Cryptography.CryptographicBuffer";

enum MobileBroadbandRadioState : INT32 { MobileBroadbandRadioState_Off = 0, MobileBroadbandRadioState_On = 1 };
enum AsyncStatus : INT32 { AsyncStatus_Started = 0, AsyncStatus_Completed = 1, AsyncStatus_Canceled = 2, AsyncStatus_Error = 3 };

struct IBuffer : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Capacity(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Length(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Length(UINT32 value) = 0;
};

// Direct access to a buffer's bytes (robuffer.h); IUnknown based.
struct IBufferByteAccess : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Buffer(BYTE** value) = 0;
};

struct IAsyncInfo : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_Id(UINT32* id) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Status(AsyncStatus* status) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ErrorCode(HRESULT* errorCode) = 0;
    virtual HRESULT STDMETHODCALLTYPE Cancel() = 0;
    virtual HRESULT STDMETHODCALLTYPE Close() = 0;
};

struct IMobileBroadbandDeviceInformation : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_NetworkDeviceStatus(INT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Manufacturer(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Model(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_FirmwareInformation(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CellularClass(INT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DataClasses(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CustomDataClass(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MobileEquipmentId(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_TelephoneNumbers(void** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SubscriberId(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SimIccId(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DeviceType(INT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DeviceId(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentRadioState(MobileBroadbandRadioState* value) = 0;
};

struct IMobileBroadbandDeviceServiceCommandResult : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_StatusCode(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_ResponseData(IBuffer** value) = 0;
};

struct ICommandResultAsyncOperation;

// AsyncOperationCompletedHandler<MobileBroadbandDeviceServiceCommandResult>: a
// delegate, so IUnknown based.
struct ICommandResultCompletedHandler : IUnknown {
    virtual HRESULT STDMETHODCALLTYPE Invoke(ICommandResultAsyncOperation* asyncInfo,
                                             AsyncStatus status) = 0;
};

// IAsyncOperation<MobileBroadbandDeviceServiceCommandResult>.
struct ICommandResultAsyncOperation : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE put_Completed(ICommandResultCompletedHandler* handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Completed(ICommandResultCompletedHandler** handler) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetResults(IMobileBroadbandDeviceServiceCommandResult** results) = 0;
};

struct IMobileBroadbandDeviceServiceCommandSession : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE SendQueryCommandAsync(UINT32 commandId, IBuffer* data,
                                                            ICommandResultAsyncOperation** asyncInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE SendSetCommandAsync(UINT32 commandId, IBuffer* data,
                                                          ICommandResultAsyncOperation** asyncInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE CloseSession() = 0;
};

struct IMobileBroadbandDeviceService : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_DeviceServiceId(GUID* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SupportedCommands(void** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenDataSession(void** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE OpenCommandSession(IMobileBroadbandDeviceServiceCommandSession** value) = 0;
};

struct IMobileBroadbandModem : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE get_CurrentAccount(void** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DeviceInformation(IMobileBroadbandDeviceInformation** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MaxDeviceServiceCommandSizeInBytes(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_MaxDeviceServiceDataSizeInBytes(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_DeviceServices(void** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDeviceService(GUID deviceServiceId,
                                                       IMobileBroadbandDeviceService** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IsResetSupported(boolean* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE ResetAsync(void** asyncInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetCurrentConfigurationAsync(void** asyncInfo) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_CurrentNetwork(void** value) = 0;
};

struct IMobileBroadbandModemStatics : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE GetDeviceSelector(HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE FromId(HSTRING deviceId, IMobileBroadbandModem** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetDefault(IMobileBroadbandModem** value) = 0;
};

struct ICryptographicBufferStatics : IInspectable {
    virtual HRESULT STDMETHODCALLTYPE Compare(IBuffer* object1, IBuffer* object2, boolean* isEqual) = 0;
    virtual HRESULT STDMETHODCALLTYPE GenerateRandom(UINT32 length, IBuffer** buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE GenerateRandomNumber(UINT32* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE CreateFromByteArray(UINT32 valueLength, BYTE* value, IBuffer** buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE CopyToByteArray(IBuffer* buffer, UINT32* valueLength, BYTE** value) = 0;
    virtual HRESULT STDMETHODCALLTYPE DecodeFromHexString(HSTRING value, IBuffer** buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE EncodeToHexString(IBuffer* buffer, HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE DecodeFromBase64String(HSTRING value, IBuffer** buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE EncodeToBase64String(IBuffer* buffer, HSTRING* value) = 0;
    virtual HRESULT STDMETHODCALLTYPE ConvertStringToBinary(HSTRING value, INT32 encoding, IBuffer** buffer) = 0;
    virtual HRESULT STDMETHODCALLTYPE ConvertBinaryToString(INT32 encoding, IBuffer* buffer, HSTRING* value) = 0;
};

}  // namespace winrt_abi
