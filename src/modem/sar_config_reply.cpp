#include "sar_config_reply.h"

#include <string>

#include "little_endian.h"

namespace {

constexpr uint64_t kFixedPart = 16;
constexpr uint64_t kPairSize = 8;
constexpr uint64_t kStateSize = 8;

[[noreturn]] void Refuse(const std::string& reason) { throw MalformedReply(reason); }

std::string StateName(uint64_t element) { return "configuration state " + std::to_string(element + 1); }

// The state one offset/size pair points at, after the pairs end at dataStart.
SarConfigState ReadState(std::span<const uint8_t> reply, uint64_t element, uint64_t dataStart) {
    const uint64_t pair = kFixedPart + element * kPairSize;
    const uint64_t offset = LittleEndianWord(reply, pair);
    const uint64_t size = LittleEndianWord(reply, pair + 4);
    const std::string at = StateName(element) + " (offset " + std::to_string(offset) + ", size " +
                           std::to_string(size) + ")";
    if (size < kStateSize) Refuse(at + " is smaller than the 8 bytes of a state");
    if (offset % 4 != 0) Refuse(at + " is not on a 4-byte boundary");
    if (offset < dataStart)
        Refuse(at + " starts inside the fixed part or the offset/size pairs, which end at " +
               std::to_string(dataStart));
    if (offset + size > reply.size()) Refuse(at + " runs past the reply's " + std::to_string(reply.size()) + " bytes");
    return {LittleEndianWord(reply, offset), LittleEndianWord(reply, offset + 4)};
}

}  // namespace

SarConfiguration ReadSarConfiguration(std::span<const uint8_t> reply) {
    if (reply.size() < kFixedPart)
        Refuse("the reply is " + std::to_string(reply.size()) + " bytes, shorter than its 16-byte fixed part");
    SarConfiguration config{LittleEndianWord(reply, 0), LittleEndianWord(reply, 4), LittleEndianWord(reply, 8), {}};
    const uint64_t count = LittleEndianWord(reply, 12);
    const uint64_t dataStart = kFixedPart + count * kPairSize;
    if (dataStart > reply.size())
        Refuse("the reply's " + std::to_string(count) + " configuration states need " + std::to_string(dataStart) +
               " bytes up to the end of their offset/size pairs, and the reply is " + std::to_string(reply.size()));
    config.states.reserve(count);
    for (uint64_t element = 0; element < count; ++element)
        config.states.push_back(ReadState(reply, element, dataStart));
    return config;
}
