// Any bytes as the modem's reply to a SAR configuration query, through the
// check's reader: it either refuses the reply (MalformedReply) or reads it
// without touching a byte past its end (AddressSanitizer watches). What it
// reads, written again by the simulated modem's writer of such replies, reads
// back the same: the reader and the writer agree on every field's place.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "sar_config_reply.h"
#include "sim/model/modem/mbim_sar.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

std::vector<uint8_t> WrittenByTheModem(const SarConfiguration& config) {
    sim::mbim::SarConfig written{config.mode, config.backoffStatus, {}};
    for (const SarConfigState& state : config.states)
        written.states.push_back({state.antennaIndex, state.backoffIndex});
    return sim::mbim::EncodeSarConfig(written, config.wifiIntegration);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A copy of exactly the input's length, so a read past it is caught.
    const std::vector<uint8_t> reply(data, data + size);
    SarConfiguration config;
    try {
        config = ReadSarConfiguration(reply);
    } catch (const MalformedReply&) {
        return 0;
    }
    Require(ReadSarConfiguration(WrittenByTheModem(config)) == config);
    return 0;
}
