// Any bytes as the modem's reply to a transmission-status command, through
// the poll's reader: a reply shorter than a record is refused with "Invalid
// array subscript"; a longer one is read from its first bytes, so that the
// simulated modem, encoding the record read, writes exactly those bytes again.
// The reader and the modem's writer thus agree on every field's place.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "sim/model/modem/mbim_sar.h"
#include "transmission_record.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

std::vector<uint8_t> WrittenByTheModem(const TransmissionStatusRecord& record) {
    return sim::mbim::EncodeTransmissionStatusInfo({record.channelNotification, record.hysteresisTimer},
                                                   record.transmissionStatus);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const size_t recordSize = WrittenByTheModem({}).size();
    TransmissionStatusRecord record;
    try {
        record = ReadTransmissionStatus(data, static_cast<uint32_t>(size));
    } catch (const std::out_of_range& error) {
        Require(size < recordSize && std::strcmp(error.what(), "Invalid array subscript") == 0);
        return 0;
    }
    const std::vector<uint8_t> written = WrittenByTheModem(record);
    Require(size >= recordSize && std::equal(written.begin(), written.end(), data));
    return 0;
}
