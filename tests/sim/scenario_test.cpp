// The scenario reader: every event form of the contract, and malformed input
// reported with origin, line and reason.
#include <gtest/gtest.h>

#include "sim/model/fault_points.h"
#include "sim/model/process_token.h"
#include "sim/model/scenario.h"

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
    auto events = sim::ParseScenario(
        "# comment\n"
        "\n"
        "0 modem absent\n"
        "0 token system\n"
        "0 radio on   # trailing comment\n"
        "1.5 tx active\n"
        "2 latency 40\n"
        "2 session none\n"
        "3 status tx-set 7 2\n"
        "3 reply-length 11\n"
        "4 reply-length full\n"
        "4 fail GetDeviceService 0x80070005 1\n"
        "5 fail GetDeviceService ok\n"
        "5 firmware instances 0\n"
        "6 none GetResults 2\n"
        "7 none GetResults ok\n"
        "8 tx cycle 6 1.5\n"
        "9 fail SysAllocString:WQL 0x8007000e\n"
        "10 firmware class absent\n"
        "10 firmware method present\n"
        "11 firmware input InEDI absent\n"
        "11 firmware input InECX string\n"
        "12 hang SendQueryCommandAsync 1\n"
        "12 hang SendQueryCommandAsync ok\n"
        "13 modem replaced\n"
        "14 stop requested\n",
        "s.txt");
    ASSERT_EQ(events.size(), 24u);
    EXPECT_EQ(events[0].kind, sim::EventKind::ModemAbsent);
    EXPECT_EQ(events[1].kind, sim::EventKind::Token);
    EXPECT_EQ(events[1].value, static_cast<uint32_t>(sim::TokenKind::LocalSystem));
    events.erase(events.begin() + 1);  // the others as they stand in the text after it
    EXPECT_EQ(events[1].line, 5);
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
    EXPECT_EQ(events[11].kind, sim::EventKind::NoObject);
    EXPECT_EQ(events[11].name, "GetResults");
    EXPECT_EQ(events[11].count, 2);
    EXPECT_TRUE(events[12].flag);
    EXPECT_EQ(events[13].kind, sim::EventKind::TransmissionCycle);
    EXPECT_EQ(events[13].value, 6000u);
    EXPECT_EQ(events[13].idleMs, 1500u);
    EXPECT_EQ(events[14].name, "SysAllocString:WQL");
    EXPECT_EQ(events[15].kind, sim::EventKind::FirmwareClass);
    EXPECT_FALSE(events[15].flag);
    EXPECT_EQ(events[16].kind, sim::EventKind::FirmwareMethod);
    EXPECT_TRUE(events[16].flag);
    EXPECT_EQ(events[17].kind, sim::EventKind::FirmwareInput);
    EXPECT_EQ(events[17].name, "InEDI");
    EXPECT_EQ(events[17].value, 0u) << "absent";
    EXPECT_EQ(events[18].value, 8u) << "CIM_STRING";
    EXPECT_EQ(events[19].kind, sim::EventKind::Hang);
    EXPECT_EQ(events[19].name, "SendQueryCommandAsync");
    EXPECT_EQ(events[19].count, 1);
    EXPECT_TRUE(events[20].flag);
    EXPECT_EQ(events[21].kind, sim::EventKind::ModemReplaced);
    EXPECT_EQ(events[22].kind, sim::EventKind::StopRequested);
    EXPECT_EQ(events[22].atMs, 14000u);
}

TEST(Scenario, MalformedLinesNameOriginLineAndReason) {
    const std::string knownCalls = sim::FaultPointNames();
    const std::string timeRule = " is not a time in seconds (decimal digits, with up to three decimals after a point: "
                                 "2, 1.5, 0.125)";
    const struct {
        std::string text;
        std::string error;
    } rows[] = {
        {"0 radio on\n2 tx active\n1 tx inactive\n", "s.txt:3: time 1 is earlier than 2, the time of the line before"},
        {"x radio on", "s.txt:1: 'x'" + timeRule},
        {"2.0001 radio on", "s.txt:1: '2.0001'" + timeRule},
        {".5 radio on", "s.txt:1: '.5'" + timeRule},
        {"1e1 radio on", "s.txt:1: '1e1'" + timeRule},
        {"0 radio maybe", "s.txt:1: 'radio' takes 'on' or 'off', not 'maybe'"},
        {"0 warp 9", "s.txt:1: unknown event 'warp'"},
        {"1 modem absent", "s.txt:1: 'modem absent' is only possible at time 0"},
        {"1 token user", "s.txt:1: 'token' is only possible at time 0"},
        {"0 token root", "s.txt:1: 'token' takes 'admin', 'user' or 'system', not 'root'"},
        {"0 stop requested", "s.txt:1: 'stop requested' comes after time 0, once the program has started"},
        {"1 stop now", "s.txt:1: 'stop' takes 'requested', not 'now'"},
        {"0 fail ExecMethod 80041002", "s.txt:1: '80041002' is not an HRESULT (hexadecimal with 0x) or 'ok'"},
        {"0 status tx-set 1 0", "s.txt:1: '0' is not a valid COUNT (a positive decimal number)"},
        {"0 latency", "s.txt:1: 'latency' takes 1 argument(s), not 0"},
        {"0 latency 99999999999",
         "s.txt:1: '99999999999' is not a valid latency (an unsigned 32-bit decimal number)"},
        {"0 latency 0", "s.txt:1: 'latency' must be at least 1 millisecond, not 0"},
        {"0", "s.txt:1: an event is missing after the time"},
        {"0 firmware class gone", "s.txt:1: 'firmware class' takes 'present' or 'absent', not 'gone'"},
        {"0 firmware input InEGX absent",
         "s.txt:1: 'InEGX' is no input of ExecINT (InEAX, InEBX, InECX, InEDX, InESI or InEDI)"},
        {"0 firmware input InEAX int",
         "s.txt:1: 'firmware input' takes 'absent' or a CIM type (sint32, string, uint8, uint16, uint32, uint64), not "
         "'int'"},
        {"0 tx cycle 6", "s.txt:1: 'tx' takes 3 argument(s), not 2"},
        {"0 tx cycle 0 6", "s.txt:1: '0' is not a valid span (seconds above 0, up to three decimals)"},
        // Fault points come from one list: unknown names and forms a call
        // does not take are refused, so that no fault silently never fires.
        {"0 fail ExecMethd 0x80041001", "s.txt:1: 'fail' names an unknown call 'ExecMethd'; known: " + knownCalls},
        {"0 none Sleep", "s.txt:1: 'none' names an unknown call 'Sleep'; known: " + knownCalls},
        {"0 none Put 1",
         "s.txt:1: 'Put' hands out no object; 'none' takes " + sim::FaultPointNames(&sim::FaultPoint::handsOutObject)},
        {"0 hang GetResults", "s.txt:1: 'GetResults' starts no operation that could hang; 'hang' takes "
                              "SendSetCommandAsync, SendQueryCommandAsync"},
        {"0 hang SendSetCommandAsync ok 1", "s.txt:1: 'hang' takes 1 to 2 argument(s), not 3"},
        {"0 modem lost", "s.txt:1: 'modem' takes 'absent' or 'replaced', not 'lost'"},
        {"0 fail GetResults 0x0", "s.txt:1: 0x0 is no failure; 'fail NAME ok' clears a fault"},
        {"0 fail GetResults 0x1", "s.txt:1: 'GetResults' takes only failure statuses (0x80000000 and above), not '0x1'"},
        {"0 fail Put ok 2", "s.txt:1: 'fail NAME ok' takes no COUNT"},
        // What is echoed stays one short line: escaped, and cut after 40
        // characters; a NUL byte cuts nothing short.
        {std::string("0 radio o\0n\x7f", 12), "s.txt:1: 'radio' takes 'on' or 'off', not 'o\\x00n\\x7f'"},
        {"0 tx " + std::string(100, 'a'),
         "s.txt:1: 'tx' takes 'active' or 'inactive', not '" + std::string(40, 'a') + "...'"},
        {"0 fail SysAllocString:" + std::string(60, 'b') + " 0x1",
         "s.txt:1: 'SysAllocString:bbbbbbbbbbbbbbbbbbbbbbbbb...' takes only failure statuses (0x80000000 and above), "
         "not '0x1'"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ErrorOf(row.text), row.error);
    }
}

}  // namespace
