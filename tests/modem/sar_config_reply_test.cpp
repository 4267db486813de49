// The reader of MBIM_MS_SAR_CONFIG replies against libmbim's: each reply goes
// into an MBIM command-done message of the MS SAR service, which
// mbim_message_ms_sar_config_response_parse parses; ours reads the bare
// information buffer, as Windows hands it over. Where both read a reply they
// must find the same fields; a reply too short for what it declares is
// refused by both; a reply whose pairs point where no state can be is
// refused by ours, with its reason, where libmbim reads whatever is there.
#include <gtest/gtest.h>
#include <libmbim-glib.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sar_config_reply.h"

namespace {

std::vector<uint8_t> Words(std::initializer_list<uint32_t> words) {
    std::vector<uint8_t> bytes;
    for (const uint32_t word : words)
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(word >> shift));
    return bytes;
}

std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, size_t length) {
    bytes.resize(length);
    return bytes;
}

// The reply as the information buffer of an MBIM_COMMAND_DONE: message
// header, fragment header, the MS SAR service's UUID, CID 1, status 0.
std::vector<uint8_t> CommandDone(const std::vector<uint8_t>& reply) {
    const auto length = static_cast<uint32_t>(48 + reply.size());
    std::vector<uint8_t> message = Words({0x80000003, length, 1, 1, 0});
    const uint8_t sarService[16] = {0x68, 0x22, 0x3d, 0x04, 0x9f, 0x6c, 0x4e, 0x0f,
                                    0x82, 0x2d, 0x28, 0x44, 0x1f, 0xb7, 0x23, 0x40};
    message.insert(message.end(), std::begin(sarService), std::end(sarService));
    const std::vector<uint8_t> tail = Words({1, 0, static_cast<uint32_t>(reply.size())});
    message.insert(message.end(), tail.begin(), tail.end());
    message.insert(message.end(), reply.begin(), reply.end());
    return message;
}

std::optional<SarConfiguration> ParsedByLibmbim(const std::vector<uint8_t>& reply) {
    const std::vector<uint8_t> bytes = CommandDone(reply);
    MbimMessage* message = mbim_message_new(bytes.data(), static_cast<guint32>(bytes.size()));
    // libmbim stores the words as they are into its enumerations, whatever
    // their value; they are read back as the words they are.
    guint32 mode = 0;
    guint32 backoff = 0;
    guint32 wifi = 0;
    guint32 count = 0;
    MbimSarConfigStateArray* states = nullptr;
    GError* error = nullptr;
    std::optional<SarConfiguration> parsed;
    if (mbim_message_ms_sar_config_response_parse(message, reinterpret_cast<MbimSarControlMode*>(&mode),
                                                  reinterpret_cast<MbimSarBackoffState*>(&backoff),
                                                  reinterpret_cast<MbimSarWifiHardwareState*>(&wifi), &count, &states,
                                                  &error)) {
        parsed = SarConfiguration{mode, backoff, wifi, {}};
        for (guint32 i = 0; i < count; ++i)
            parsed->states.push_back({states[i]->antenna_index, states[i]->backoff_index});
        mbim_sar_config_state_array_free(states);
    } else {
        g_error_free(error);
    }
    mbim_message_unref(message);
    return parsed;
}

// Ours; the reason when it refuses the reply.
std::optional<SarConfiguration> ParsedByUs(const std::vector<uint8_t>& reply, std::string& reason) {
    try {
        return ReadSarConfiguration(reply);
    } catch (const MalformedReply& malformed) {
        reason = malformed.what();
        return std::nullopt;
    }
}

std::string Shown(const std::optional<SarConfiguration>& config) {
    if (!config) return "refused";
    std::string text = "mode " + std::to_string(config->mode) + ", back-off " + std::to_string(config->backoffStatus) +
                       ", Wi-Fi " + std::to_string(config->wifiIntegration) + ", states";
    for (const SarConfigState& state : config->states)
        text += " (" + std::to_string(state.antennaIndex) + "," + std::to_string(state.backoffIndex) + ")";
    return text;
}

const std::vector<uint8_t> kOneState = Words({1, 0, 0, 1, 24, 8, 0, 1});

struct Reply {
    const char* what;
    std::vector<uint8_t> bytes;
    std::string ourReason;  // empty: ours reads it as libmbim does
    bool libmbimReads = true;
};

TEST(SarConfigReply, ReadsAsLibmbimDoesAndRefusesWhatDoesNotHold) {
    const Reply replies[] = {
        {"the configuration the program sets", kOneState, ""},
        {"device mode, no states", Words({0, 0, 0, 0}), ""},
        {"two states, the second's first", Words({1, 1, 1, 2, 40, 8, 32, 8, 3, 4, 5, 6}), ""},
        {"bytes after the states", Words({1, 0, 0, 1, 24, 8, 0, 1, 0xdeadbeef}), ""},
        {"values no enumeration knows", Words({7, 9, 5, 0}), ""},
        {"a state larger than its two words", Words({1, 0, 0, 1, 24, 12, 2, 3, 0}), ""},
        {"no fixed part", {}, "the reply is 0 bytes, shorter than its 16-byte fixed part", false},
        {"cut inside the fixed part", Cut(kOneState, 15),
         "the reply is 15 bytes, shorter than its 16-byte fixed part", false},
        {"cut inside the pairs", Cut(kOneState, 20),
         "the reply's 1 configuration states need 24 bytes up to the end of their offset/size pairs, and the reply "
         "is 20",
         false},
        {"cut inside the state", Cut(kOneState, 28),
         "configuration state 1 (offset 24, size 8) runs past the reply's 28 bytes", false},
        {"a count far beyond the reply", Words({1, 0, 0, 0x20000000, 24, 8, 0, 1}),
         "the reply's 536870912 configuration states need 4294967312 bytes up to the end of their offset/size "
         "pairs, and the reply is 32",
         false},
        {"a state past the end", Words({1, 0, 0, 1, 28, 8, 0, 1}),
         "configuration state 1 (offset 28, size 8) runs past the reply's 32 bytes", false},
        // What libmbim reads but ours refuses: pairs that contradict the layout.
        {"a state inside the fixed part", Words({1, 0, 0, 1, 0, 8, 0, 1}),
         "configuration state 1 (offset 0, size 8) starts inside the fixed part or the offset/size pairs, which "
         "end at 24"},
        {"a state over its own pair", Words({1, 0, 0, 1, 16, 8}),
         "configuration state 1 (offset 16, size 8) starts inside the fixed part or the offset/size pairs, which "
         "end at 24"},
        {"a state smaller than two words", Words({1, 0, 0, 1, 24, 4, 0, 1}),
         "configuration state 1 (offset 24, size 4) is smaller than the 8 bytes of a state"},
        {"a state off the 4-byte grid", Cut(Words({1, 0, 0, 1, 26, 8, 0, 1, 0}), 34),
         "configuration state 1 (offset 26, size 8) is not on a 4-byte boundary"},
    };
    for (const Reply& reply : replies) {
        SCOPED_TRACE(reply.what);
        std::string reason;
        const std::optional<SarConfiguration> ours = ParsedByUs(reply.bytes, reason);
        const std::optional<SarConfiguration> libmbim = ParsedByLibmbim(reply.bytes);
        EXPECT_EQ(libmbim.has_value(), reply.libmbimReads) << Shown(libmbim);
        EXPECT_EQ(reason, reply.ourReason);
        if (reply.ourReason.empty()) {
            EXPECT_EQ(Shown(ours), Shown(libmbim));
        }
    }
}

}  // namespace
