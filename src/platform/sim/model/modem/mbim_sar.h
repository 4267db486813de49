// The MBIM MS SAR extension's information buffers, as a modem reads and writes
// them: MBIM_MS_SET_SAR_CONFIG and MBIM_MS_SET_TRANSMISSION_STATUS requests,
// MBIM_MS_SAR_CONFIG and MBIM_MS_TRANSMISSION_STATUS_INFO replies. All fields
// are 32-bit little-endian; offsets count from the start of the buffer.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace sim::mbim {

inline constexpr uint32_t kStatusSuccess = 0;
inline constexpr uint32_t kStatusNoDeviceSupport = 9;       // MBIM_STATUS_NO_DEVICE_SUPPORT
inline constexpr uint32_t kStatusInvalidParameters = 21;    // MBIM_STATUS_INVALID_PARAMETERS

struct SarConfigState {
    uint32_t antennaIndex = 0;
    uint32_t backoffIndex = 0;
    bool operator==(const SarConfigState&) const = default;
};

struct SarConfig {
    uint32_t mode = 0;           // 0: SAR controlled by the device, 1: by the operating system
    uint32_t backoffStatus = 0;  // 0: back-off disabled, 1: enabled
    std::vector<SarConfigState> states;
    bool operator==(const SarConfig&) const = default;
};

struct TransmissionSettings {
    uint32_t channelNotification = 0;  // 0: disabled, 1: enabled
    uint32_t hysteresisTimer = 0;      // seconds
    bool operator==(const TransmissionSettings&) const = default;
};

// An MBIM_MS_SET_SAR_CONFIG: SAR mode and back-off status (each 0 or 1), an
// element count, that many offset/size pairs, and the configuration states
// they point at (8 bytes each, 4-byte aligned, after the pair list, inside
// the buffer). Empty when the request is malformed.
std::optional<SarConfig> ParseSetSarConfig(std::span<const uint8_t> request);

// An MBIM_MS_SET_TRANSMISSION_STATUS: exactly 8 bytes, ChannelNotification
// (0 or 1) and HysteresisTimer. Empty when the request is malformed.
std::optional<TransmissionSettings> ParseSetTransmissionStatus(std::span<const uint8_t> request);

// MBIM_MS_SAR_CONFIG: mode, back-off status, Wi-Fi integration, element
// count, the offset/size pairs, then the states.
std::vector<uint8_t> EncodeSarConfig(const SarConfig& config, uint32_t wifiIntegration);

// MBIM_MS_TRANSMISSION_STATUS_INFO: ChannelNotification, TransmissionStatus,
// HysteresisTimer.
std::vector<uint8_t> EncodeTransmissionStatusInfo(const TransmissionSettings& settings,
                                                  uint32_t transmissionStatus);

}  // namespace sim::mbim
