// Any bytes as an MBIM MS SAR request to the simulated modem: the first byte
// picks the parser (even: SAR configuration, odd: transmission status), the
// rest is the information buffer. A request the parser takes is one a modem
// would take; its reply encodes what was set.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "sim/model/modem/mbim_sar.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

uint32_t WordAt(std::span<const uint8_t> bytes, size_t offset) {
    uint32_t word = 0;
    for (int i = 3; i >= 0; --i) word = word << 8 | bytes[offset + static_cast<size_t>(i)];
    return word;
}

void SarConfiguration(std::span<const uint8_t> request) {
    const auto config = sim::mbim::ParseSetSarConfig(request);
    if (!config) return;
    Require(request.size() >= 12 && config->mode <= 1 && config->backoffStatus <= 1);
    Require(config->states.size() == WordAt(request, 8));
    const std::vector<uint8_t> reply = sim::mbim::EncodeSarConfig(*config, 0);
    Require(reply.size() == 16 + 16 * config->states.size());
}

void TransmissionStatus(std::span<const uint8_t> request) {
    const auto settings = sim::mbim::ParseSetTransmissionStatus(request);
    if (!settings) return;
    Require(request.size() == 8 && settings->channelNotification <= 1);
    Require(settings->hysteresisTimer == WordAt(request, 4));
    const std::vector<uint8_t> reply = sim::mbim::EncodeTransmissionStatusInfo(*settings, 1);
    Require(reply.size() == 12 && WordAt(reply, 0) == settings->channelNotification && WordAt(reply, 4) == 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const std::span<const uint8_t> request(data + 1, size - 1);
    if (data[0] % 2 == 0)
        SarConfiguration(request);
    else
        TransmissionStatus(request);
    return 0;
}
