// Byte arrays in and out of platform buffers (CryptographicBuffer).
#pragma once

#include <span>

#include "platform.h"
#include "win/com_ptr.h"

// A new platform buffer holding a copy of bytes.
com_ptr<winrt_abi::IBuffer> BufferFromBytes(std::span<const BYTE> bytes);

// A copy of a platform buffer's bytes, allocated by the platform and freed
// with CoTaskMemFree when its holder ends or is reset.
class TaskMemoryBytes {
public:
    TaskMemoryBytes() = default;
    TaskMemoryBytes(const TaskMemoryBytes&) = delete;
    TaskMemoryBytes& operator=(const TaskMemoryBytes&) = delete;
    TaskMemoryBytes(TaskMemoryBytes&& other) noexcept;
    TaskMemoryBytes& operator=(TaskMemoryBytes&& other) noexcept;
    ~TaskMemoryBytes() { reset(); }

    static TaskMemoryBytes CopyOf(winrt_abi::IBuffer& buffer);

    const BYTE* data() const { return bytes_; }
    UINT32 size() const { return length_; }
    void reset();

private:
    BYTE* bytes_ = nullptr;
    UINT32 length_ = 0;
};
