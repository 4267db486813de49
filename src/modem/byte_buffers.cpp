#include "byte_buffers.h"

#include <utility>

#include "win/hresult_error.h"
#include "winrt_activation.h"

com_ptr<winrt_abi::IBuffer> BufferFromBytes(std::span<const BYTE> bytes) {
    com_ptr<winrt_abi::IBuffer> buffer;
    // The platform only reads the array; its signature is not const-correct.
    check_hresult(CryptographicBufferStatics().CreateFromByteArray(
        static_cast<UINT32>(bytes.size()), const_cast<BYTE*>(bytes.data()), buffer.put()));
    check_present(buffer);
    return buffer;
}

TaskMemoryBytes::TaskMemoryBytes(TaskMemoryBytes&& other) noexcept
    : bytes_(std::exchange(other.bytes_, nullptr)), length_(std::exchange(other.length_, 0)) {}

TaskMemoryBytes& TaskMemoryBytes::operator=(TaskMemoryBytes&& other) noexcept {
    if (this != &other) {
        reset();
        bytes_ = std::exchange(other.bytes_, nullptr);
        length_ = std::exchange(other.length_, 0);
    }
    return *this;
}

TaskMemoryBytes TaskMemoryBytes::CopyOf(winrt_abi::IBuffer& buffer) {
    TaskMemoryBytes copy;
    const HRESULT result = CryptographicBufferStatics().CopyToByteArray(&buffer, &copy.length_, &copy.bytes_);
    if (FAILED(result)) {
        // A failed call hands back nothing to free; never trust a length
        // without bytes.
        copy.bytes_ = nullptr;
        copy.length_ = 0;
        throw_hresult(result);
    }
    if (copy.bytes_ == nullptr) copy.length_ = 0;
    return copy;
}

void TaskMemoryBytes::reset() {
    CoTaskMemFree(std::exchange(bytes_, nullptr));
    length_ = 0;
}
