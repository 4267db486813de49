// The modem's answer to a SAR configuration command, MBIM_MS_SAR_CONFIG: the
// 32-bit little-endian words SAR mode, back-off status, Wi-Fi integration and
// element count, then one offset/size pair per configuration state (offsets
// count from the start of the buffer), and the states they point at, each an
// antenna index and a back-off index.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

inline constexpr uint32_t kSarModeDevice = 0;  // SAR controlled by the modem
inline constexpr uint32_t kSarModeOs = 1;      // SAR controlled by the operating system

struct SarConfigState {
    uint32_t antennaIndex = 0;
    uint32_t backoffIndex = 0;
    bool operator==(const SarConfigState&) const = default;
};

struct SarConfiguration {
    uint32_t mode = 0;
    uint32_t backoffStatus = 0;  // 0: back-off disabled, 1: enabled
    uint32_t wifiIntegration = 0;
    std::vector<SarConfigState> states;
    bool operator==(const SarConfiguration&) const = default;
};

// A reply that does not hold what it declares; what() says what is wrong.
struct MalformedReply : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Reads a reply, testing every read against its length. Raises MalformedReply
// when the reply is shorter than its 16-byte fixed part, when the pairs its
// element count calls for run past its end, or when a pair is inconsistent:
// a state smaller than 8 bytes, not on a 4-byte boundary, starting inside the
// fixed part or the pairs, or running past the end. The field values are not
// judged; bytes no pair points at are ignored.
SarConfiguration ReadSarConfiguration(std::span<const uint8_t> reply);
