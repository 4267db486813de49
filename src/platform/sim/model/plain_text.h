// Bytes and wide text as the simulated laptop writes them into its logs,
// records, fault names and messages: plain ASCII.
#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace sim {

// Each byte as two lowercase hexadecimal digits, with no separators.
inline std::string HexBytes(std::span<const uint8_t> bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (const uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

// Wide text with every character outside ASCII as '?'.
inline std::string AsciiText(const wchar_t* text) {
    std::string ascii;
    for (const wchar_t* c = text; *c != L'\0'; ++c) ascii += *c < 0x80 ? static_cast<char>(*c) : '?';
    return ascii;
}

}  // namespace sim
