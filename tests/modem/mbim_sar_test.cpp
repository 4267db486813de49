// The simulated modem's MBIM MS SAR handling: parsing requests like a modem,
// answering in the published layouts, and what the scenario changes.
#include "modem_test_support.h"
#include "sim/model/clock.h"
#include "sim/model/modem/mbim_sar.h"
#include "sim/model/modem/sar_device.h"

namespace {

using Bytes = std::vector<uint8_t>;

const Bytes kSystemSarConfig{0x01, 0, 0, 0, 0, 0, 0, 0, 0x01, 0, 0, 0, 0x14, 0, 0, 0,
                             0x08, 0, 0, 0, 0, 0, 0, 0, 0x01, 0, 0, 0};

Bytes WithWord(Bytes bytes, size_t offset, uint32_t word) {
    for (size_t i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<uint8_t>(word >> (8 * i));
    return bytes;
}

TEST(MbimSarParsing, ReadsTheSystemsSarConfiguration) {
    const auto config = sim::mbim::ParseSetSarConfig(kSystemSarConfig);
    ASSERT_TRUE(config.has_value());
    EXPECT_EQ(*config, (sim::mbim::SarConfig{1, 0, {{0, 1}}}));
}

TEST(MbimSarParsing, ReadsSeveralStatesWhereverTheyLie) {
    // Two states, listed in reverse order of their place in the buffer.
    Bytes request = WithWord(kSystemSarConfig, 8, 2);
    request.resize(12 + 16 + 16);
    request = WithWord(request, 12, 36);
    request = WithWord(request, 16, 8);
    request = WithWord(request, 20, 28);
    request = WithWord(request, 24, 8);
    request = WithWord(request, 28, 0xFFFFFFFF);
    request = WithWord(request, 32, 3);
    request = WithWord(request, 36, 1);
    request = WithWord(request, 40, 2);
    const auto config = sim::mbim::ParseSetSarConfig(request);
    ASSERT_TRUE(config.has_value());
    EXPECT_EQ(config->states, (std::vector<sim::mbim::SarConfigState>{{1, 2}, {0xFFFFFFFF, 3}}));
}

TEST(MbimSarParsing, RejectsMalformedSarConfigurations) {
    const struct {
        const char* what;
        Bytes request;
    } cases[] = {
        {"shorter than the fixed part", Bytes(kSystemSarConfig.begin(), kSystemSarConfig.begin() + 11)},
        {"SAR mode 2", WithWord(kSystemSarConfig, 0, 2)},
        {"back-off status 2", WithWord(kSystemSarConfig, 4, 2)},
        {"pair list past the end", WithWord(kSystemSarConfig, 8, 3)},
        {"state inside the pair list", WithWord(kSystemSarConfig, 12, 16)},
        {"state not aligned", WithWord(kSystemSarConfig, 12, 21)},
        {"state past the end", WithWord(kSystemSarConfig, 12, 24)},
        {"state of the wrong size", WithWord(kSystemSarConfig, 16, 4)},
        {"offset that wraps around", WithWord(kSystemSarConfig, 12, 0xFFFFFFFC)},
        {"element count that wraps around", WithWord(kSystemSarConfig, 8, 0x20000000)},
    };
    for (const auto& malformed : cases)
        EXPECT_FALSE(sim::mbim::ParseSetSarConfig(malformed.request).has_value()) << malformed.what;
}

TEST(MbimSarParsing, TransmissionStatusSetIsExactlyEightBytes) {
    const Bytes set{1, 0, 0, 0, 5, 0, 0, 0};
    EXPECT_EQ(sim::mbim::ParseSetTransmissionStatus(set), (sim::mbim::TransmissionSettings{1, 5}));
    EXPECT_FALSE(sim::mbim::ParseSetTransmissionStatus(Bytes(set.begin(), set.end() - 1)).has_value());
    Bytes longer = set;
    longer.push_back(0);
    EXPECT_FALSE(sim::mbim::ParseSetTransmissionStatus(longer).has_value());
    EXPECT_FALSE(sim::mbim::ParseSetTransmissionStatus(WithWord(set, 0, 2)).has_value());
}

TEST(MbimSarEncoding, RepliesInThePublishedLayouts) {
    EXPECT_EQ(sim::mbim::EncodeSarConfig({1, 0, {{0, 1}}}, 0),
              (Bytes{1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 24, 0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}));
    EXPECT_EQ(sim::mbim::EncodeTransmissionStatusInfo({1, 0xFFFFFFFF}, 1),
              (Bytes{1, 0, 0, 0, 1, 0, 0, 0, 0xff, 0xff, 0xff, 0xff}));
}

class SimulatedSarService : public ModemTest {};

TEST_F(SimulatedSarService, AnswersTheSarConfigurationLastSet) {
    Start("");
    const sim::CommandReply set = sim::ReceiveSarCommand(true, 1, kSystemSarConfig);
    EXPECT_EQ(set.status, 0u);
    EXPECT_EQ(set.data, sim::mbim::EncodeSarConfig({1, 0, {{0, 1}}}, 0));
    EXPECT_EQ(sim::ReceiveSarCommand(false, 1, {}).data, set.data);
}

TEST_F(SimulatedSarService, MalformedSetsAreInvalidParametersAndChangeNothing) {
    Start("0 tx active\n");
    ASSERT_EQ(sim::ReceiveSarCommand(true, 2, Bytes{1, 0, 0, 0, 1, 0, 0, 0}).status, 0u);
    const sim::CommandReply malformed = sim::ReceiveSarCommand(true, 2, Bytes{0, 0, 0, 0, 9, 0, 0});
    EXPECT_EQ(malformed.status, sim::mbim::kStatusInvalidParameters);
    EXPECT_TRUE(malformed.data.empty());
    EXPECT_EQ(sim::ReceiveSarCommand(true, 1, Bytes(kSystemSarConfig.begin(), kSystemSarConfig.end() - 4)).status,
              sim::mbim::kStatusInvalidParameters);
    // A query's buffer is not interpreted, and the settings are still the last good ones.
    EXPECT_EQ(sim::ReceiveSarCommand(false, 2, Bytes{7, 7, 7}).data,
              sim::mbim::EncodeTransmissionStatusInfo({1, 1}, 1));
}

TEST_F(SimulatedSarService, UnknownCommandsAreNotSupported) {
    Start("");
    EXPECT_EQ(sim::ReceiveSarCommand(false, 3, {}).status, sim::mbim::kStatusNoDeviceSupport);
}

TEST_F(SimulatedSarService, ScenarioStatusesLengthsAndLatency) {
    Start("0 status tx-query 4 1\n0 reply-length 5\n0 latency 30\n1 reply-length 16\n");
    const sim::CommandReply rejected = sim::ReceiveSarCommand(false, 2, {});
    EXPECT_EQ(rejected.status, 4u);
    EXPECT_TRUE(rejected.data.empty()) << "a rejected command has no reply bytes";
    EXPECT_EQ(rejected.latencyMs, 30u);
    EXPECT_EQ(sim::ReceiveSarCommand(false, 2, {}).data.size(), 5u);
    sim::PassMs(1000);
    const sim::CommandReply padded = sim::ReceiveSarCommand(false, 2, {});
    ASSERT_EQ(padded.data.size(), 16u);
    EXPECT_EQ(Bytes(padded.data.begin() + 12, padded.data.end()), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(ModemLog(), (std::vector<std::string>{"0 query 2 ", "0 query 2 ", "1000 query 2 "}))
        << "each command is logged at receipt; its latency is the operation's to pass";
}

}  // namespace
