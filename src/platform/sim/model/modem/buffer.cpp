#include "sim/model/modem/buffer.h"

#include <algorithm>
#include <new>

#include "sim/model/laptop.h"
#include "sim/model/modem/originate_error.h"

namespace sim {

ByteBuffer::ByteBuffer(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)), length_(static_cast<UINT32>(bytes_.size())) {}

HRESULT ByteBuffer::QueryInterface(REFIID riid, void** object) {
    return QueryRuntimeInterface(riid, object, winrt_abi::IID_IBuffer,
                                 {{winrt_abi::IID_IBufferByteAccess, static_cast<winrt_abi::IBufferByteAccess*>(this)}});
}

HRESULT ByteBuffer::get_Capacity(UINT32* value) {
    if (value == nullptr) return E_POINTER;
    *value = static_cast<UINT32>(bytes_.size());
    return S_OK;
}

HRESULT ByteBuffer::get_Length(UINT32* value) {
    if (value == nullptr) return E_POINTER;
    *value = length_;
    return S_OK;
}

HRESULT ByteBuffer::put_Length(UINT32 value) {
    if (value > bytes_.size()) return OriginateError(E_INVALIDARG, L"The length exceeds the buffer's capacity");
    length_ = value;
    return S_OK;
}

HRESULT ByteBuffer::Buffer(BYTE** value) {
    if (value == nullptr) return E_POINTER;
    *value = bytes_.data();
    return S_OK;
}

HRESULT ReadBuffer(winrt_abi::IBuffer* buffer, std::vector<uint8_t>& bytes) {
    if (buffer == nullptr) return OriginateError(E_INVALIDARG, L"No buffer was passed");
    winrt_abi::IBufferByteAccess* access = nullptr;
    if (FAILED(buffer->QueryInterface(winrt_abi::IID_IBufferByteAccess, reinterpret_cast<void**>(&access))))
        return OriginateError(E_INVALIDARG, L"The buffer offers no access to its bytes");
    UINT32 length = 0;
    BYTE* data = nullptr;
    HRESULT result = buffer->get_Length(&length);
    if (SUCCEEDED(result)) result = access->Buffer(&data);
    if (SUCCEEDED(result)) bytes.assign(data, data + length);
    access->Release();
    return result;
}

namespace {

class CryptographicBufferStatics final : public StaticsFactory<winrt_abi::ICryptographicBufferStatics> {
public:
    HRESULT STDMETHODCALLTYPE CreateFromByteArray(UINT32 valueLength, BYTE* value,
                                                  winrt_abi::IBuffer** buffer) override {
        if (buffer == nullptr) return E_POINTER;
        *buffer = nullptr;
        if (value == nullptr && valueLength != 0) return OriginateError(E_POINTER, L"No bytes were passed");
        if (const HRESULT fault = InjectedFault("CreateFromByteArray"); FAILED(fault)) return fault;
        if (TheLaptop().TakeMissingObject("CreateFromByteArray")) return S_OK;
        try {
            *buffer = new ByteBuffer(std::vector<uint8_t>(value, value + valueLength));
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        return S_OK;
    }

    // The copy is the caller's, to be freed with CoTaskMemFree.
    HRESULT STDMETHODCALLTYPE CopyToByteArray(winrt_abi::IBuffer* buffer, UINT32* valueLength,
                                              BYTE** value) override {
        if (valueLength == nullptr || value == nullptr) return E_POINTER;
        *valueLength = 0;
        *value = nullptr;
        if (const HRESULT fault = InjectedFault("CopyToByteArray"); FAILED(fault)) return fault;
        if (TheLaptop().TakeMissingObject("CopyToByteArray")) return S_OK;
        std::vector<uint8_t> bytes;
        try {
            if (const HRESULT result = ReadBuffer(buffer, bytes); FAILED(result)) return result;
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        if (bytes.empty()) return S_OK;
        auto* copy = static_cast<BYTE*>(CoTaskMemAlloc(bytes.size()));
        if (copy == nullptr) return E_OUTOFMEMORY;
        std::copy(bytes.begin(), bytes.end(), copy);
        *value = copy;
        *valueLength = static_cast<UINT32>(bytes.size());
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Compare(winrt_abi::IBuffer*, winrt_abi::IBuffer*, boolean*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GenerateRandom(UINT32, winrt_abi::IBuffer**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GenerateRandomNumber(UINT32*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DecodeFromHexString(HSTRING, winrt_abi::IBuffer**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EncodeToHexString(winrt_abi::IBuffer*, HSTRING*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DecodeFromBase64String(HSTRING, winrt_abi::IBuffer**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EncodeToBase64String(winrt_abi::IBuffer*, HSTRING*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ConvertStringToBinary(HSTRING, INT32, winrt_abi::IBuffer**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ConvertBinaryToString(INT32, winrt_abi::IBuffer*, HSTRING*) override { return E_NOTIMPL; }

private:
    const IID& StaticsIid() const override { return winrt_abi::IID_ICryptographicBufferStatics; }
};

}  // namespace

IActivationFactory* CryptographicBufferFactory() {
    static CryptographicBufferStatics factory;
    return &factory;
}

}  // namespace sim
