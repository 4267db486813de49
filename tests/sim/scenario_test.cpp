// The scenario reader: every event form of the contract, and malformed input
// reported with origin, line and reason.
#include <gtest/gtest.h>

#include "scenario.h"

namespace {

std::string ErrorOf(const std::string& text) {
    try {
        sim::ParseScenario(text, "s.txt");
    } catch (const sim::ScenarioError& error) {
        return error.what();
    }
    return "";
}

TEST(Scenario, ReadsEveryEventForm) {
    const auto events = sim::ParseScenario(
        "# comment\n"
        "\n"
        "0 modem absent\n"
        "0 radio on   # trailing comment\n"
        "1.5 tx active\n"
        "2 latency 40\n"
        "2 session none\n"
        "3 status tx-set 7 2\n"
        "3 reply-length 11\n"
        "4 reply-length full\n"
        "4 fail GetDeviceService 0x80070005 1\n"
        "5 fail GetDeviceService ok\n"
        "5 firmware instances 0\n",
        "s.txt");
    ASSERT_EQ(events.size(), 11u);
    EXPECT_EQ(events[0].kind, sim::EventKind::ModemAbsent);
    EXPECT_EQ(events[1].line, 4);
    EXPECT_TRUE(events[1].flag);
    EXPECT_EQ(events[2].atMs, 1500u);
    EXPECT_EQ(events[3].value, 40u);
    EXPECT_FALSE(events[4].flag);
    EXPECT_EQ(events[5].name, "tx-set");
    EXPECT_EQ(events[5].value, 7u);
    EXPECT_EQ(events[5].count, 2);
    EXPECT_EQ(events[6].value, 11u);
    EXPECT_TRUE(events[7].flag);
    EXPECT_EQ(events[8].value, 0x80070005u);
    EXPECT_EQ(events[8].count, 1);
    EXPECT_TRUE(events[9].flag);
    EXPECT_EQ(events[10].value, 0u);
}

TEST(Scenario, MalformedLinesNameOriginLineAndReason) {
    EXPECT_EQ(ErrorOf("0 radio on\n2 tx active\n1 tx inactive\n"),
              "s.txt:3: time 1 is earlier than the line before");
    EXPECT_EQ(ErrorOf("x radio on"), "s.txt:1: 'x' is not a time in seconds");
    EXPECT_EQ(ErrorOf("0 radio maybe"), "s.txt:1: 'radio' takes 'on' or 'off', not 'maybe'");
    EXPECT_EQ(ErrorOf("0 warp 9"), "s.txt:1: unknown event 'warp'");
    EXPECT_EQ(ErrorOf("1 modem absent"), "s.txt:1: 'modem absent' is only possible at time 0");
    EXPECT_EQ(ErrorOf("0 fail ExecMethod 80041002"),
              "s.txt:1: '80041002' is not an HRESULT (hexadecimal with 0x) or 'ok'");
    EXPECT_EQ(ErrorOf("0 status tx-set 1 0"), "s.txt:1: '0' is not a valid COUNT (a positive decimal number)");
    EXPECT_EQ(ErrorOf("0 latency"), "s.txt:1: 'latency' takes 1 argument(s), not 0");
    EXPECT_EQ(ErrorOf("0 latency 99999999999"),
              "s.txt:1: '99999999999' is not a valid milliseconds (an unsigned 32-bit decimal number)");
    EXPECT_EQ(ErrorOf("0"), "s.txt:1: an event is missing after the time");
    EXPECT_EQ(ErrorOf("0.0001 radio on"), "s.txt:1: '0.0001' is not a time in seconds");
}

}  // namespace
