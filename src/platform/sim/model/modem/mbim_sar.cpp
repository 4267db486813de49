#include "sim/model/modem/mbim_sar.h"

namespace sim::mbim {
namespace {

constexpr uint64_t kStateSize = 8;
constexpr uint64_t kPairSize = 8;

uint32_t WordAt(std::span<const uint8_t> bytes, uint64_t offset) {
    return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
           static_cast<uint32_t>(bytes[offset + 2]) << 16 | static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

void AppendWord(std::vector<uint8_t>& out, uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(word >> shift));
}

bool IsFlag(uint32_t value) { return value <= 1; }

}  // namespace

std::optional<SarConfig> ParseSetSarConfig(std::span<const uint8_t> request) {
    constexpr uint64_t kFixedPart = 12;
    if (request.size() < kFixedPart) return std::nullopt;
    SarConfig config{WordAt(request, 0), WordAt(request, 4), {}};
    if (!IsFlag(config.mode) || !IsFlag(config.backoffStatus)) return std::nullopt;
    const uint64_t count = WordAt(request, 8);
    const uint64_t dataStart = kFixedPart + count * kPairSize;
    if (dataStart > request.size()) return std::nullopt;
    for (uint64_t element = 0; element < count; ++element) {
        const uint64_t offset = WordAt(request, kFixedPart + element * kPairSize);
        const uint64_t size = WordAt(request, kFixedPart + element * kPairSize + 4);
        if (size != kStateSize || offset % 4 != 0 || offset < dataStart || offset + size > request.size())
            return std::nullopt;
        config.states.push_back({WordAt(request, offset), WordAt(request, offset + 4)});
    }
    return config;
}

std::optional<TransmissionSettings> ParseSetTransmissionStatus(std::span<const uint8_t> request) {
    if (request.size() != 8) return std::nullopt;
    const TransmissionSettings settings{WordAt(request, 0), WordAt(request, 4)};
    if (!IsFlag(settings.channelNotification)) return std::nullopt;
    return settings;
}

std::vector<uint8_t> EncodeSarConfig(const SarConfig& config, uint32_t wifiIntegration) {
    constexpr uint32_t kFixedPart = 16;
    const auto count = static_cast<uint32_t>(config.states.size());
    std::vector<uint8_t> reply;
    AppendWord(reply, config.mode);
    AppendWord(reply, config.backoffStatus);
    AppendWord(reply, wifiIntegration);
    AppendWord(reply, count);
    const uint32_t dataStart = kFixedPart + count * static_cast<uint32_t>(kPairSize);
    for (uint32_t element = 0; element < count; ++element) {
        AppendWord(reply, dataStart + element * static_cast<uint32_t>(kStateSize));
        AppendWord(reply, static_cast<uint32_t>(kStateSize));
    }
    for (const SarConfigState& state : config.states) {
        AppendWord(reply, state.antennaIndex);
        AppendWord(reply, state.backoffIndex);
    }
    return reply;
}

std::vector<uint8_t> EncodeTransmissionStatusInfo(const TransmissionSettings& settings,
                                                  uint32_t transmissionStatus) {
    std::vector<uint8_t> reply;
    AppendWord(reply, settings.channelNotification);
    AppendWord(reply, transmissionStatus);
    AppendWord(reply, settings.hysteresisTimer);
    return reply;
}

}  // namespace sim::mbim
