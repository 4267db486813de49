// MBIM information buffers are made of 32-bit little-endian words.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

// The word at offset; the caller has checked that its four bytes are there.
inline uint32_t LittleEndianWord(std::span<const uint8_t> bytes, size_t offset) {
    return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<uint32_t>(bytes[offset + 2]) << 16 | static_cast<uint32_t>(bytes[offset + 3]) << 24;
}
