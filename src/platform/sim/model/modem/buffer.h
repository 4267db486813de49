// Byte buffers of the simulated components (Windows.Storage.Streams.Buffer):
// IBuffer, with direct access to the bytes through IBufferByteAccess.
#pragma once

#include <cstdint>
#include <vector>

#include "sim/model/modem/runtime_object.h"

namespace sim {

class ByteBuffer final : public RuntimeObject<winrt_abi::IBuffer, winrt_abi::IBufferByteAccess> {
public:
    explicit ByteBuffer(std::vector<uint8_t> bytes);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE get_Capacity(UINT32* value) override;
    HRESULT STDMETHODCALLTYPE get_Length(UINT32* value) override;
    HRESULT STDMETHODCALLTYPE put_Length(UINT32 value) override;
    HRESULT STDMETHODCALLTYPE Buffer(BYTE** value) override;

private:
    const wchar_t* ClassName() const override { return L"Windows.Storage.Streams.Buffer"; }

    std::vector<uint8_t> bytes_;  // the capacity
    UINT32 length_;
};

// The bytes of any buffer that offers IBufferByteAccess, up to its length.
HRESULT ReadBuffer(winrt_abi::IBuffer* buffer, std::vector<uint8_t>& bytes);

// The statics of Windows.Security.Cryptography.CryptographicBuffer: the byte
// array conversions work; the other methods are not implemented.
IActivationFactory* CryptographicBufferFactory();

}  // namespace sim
