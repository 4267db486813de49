// A whole run of the supervisor loop with the real modem side against the
// simulated modem; the firmware commands are recorded in its place. The modem
// transmits twice: REDUCE and NORMAL go out once per transition, in the cycle
// that first sees it.
#include <string>
#include <vector>

#include "clock.h"
#include "firmware/wlan_tx_power.h"
#include "modem_test_support.h"
#include "supervisor/supervisor.h"

namespace {

struct FirmwareCommand {
    uint64_t ms;
    std::string name;
};

std::vector<FirmwareCommand> firmwareCommands;

}  // namespace

void SetWLANTxState_WLANREDUCE() { firmwareCommands.push_back({sim::NowMs(), "REDUCE"}); }
void SetWLANTxState_WLANNORMAL() { firmwareCommands.push_back({sim::NowMs(), "NORMAL"}); }

namespace {

class SupervisedRun : public ModemTest {};

TEST_F(SupervisedRun, TransmittingTwiceReducesAndRestoresAtEachTransition) {
    Start("0 radio on\n4 tx active\n10 tx inactive\n16 tx active\n22 tx inactive\n28 radio off\n");
    firmwareCommands.clear();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = RunSupervisor();
    const std::string console = testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(status, kExitRadioOff);

    // A cycle is two modem commands of 5 ms each and a 3000 ms pause, so a
    // transition is acted on within one cycle of when it happens.
    constexpr uint64_t kCycleMs = 3010;
    const std::vector<std::pair<uint64_t, std::string>> transitions{
        {4000, "REDUCE"}, {10000, "NORMAL"}, {16000, "REDUCE"}, {22000, "NORMAL"}, {28000, "NORMAL"}};
    ASSERT_EQ(firmwareCommands.size(), transitions.size());
    for (size_t i = 0; i < transitions.size(); ++i) {
        EXPECT_EQ(firmwareCommands[i].name, transitions[i].second) << i;
        EXPECT_GE(firmwareCommands[i].ms, transitions[i].first) << i;
        EXPECT_LT(firmwareCommands[i].ms, transitions[i].first + kCycleMs) << i;
    }

    const std::vector<std::string> log = ModemLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "0 set 1 01000000000000000100000014000000080000000000000001000000");
    for (size_t i = 1; i < log.size(); ++i) {
        const char* expected = i % 2 == 1 ? " set 2 0100000001000000" : " query 2 0000000000000000";
        EXPECT_NE(log[i].find(expected), std::string::npos) << log[i];
    }
    EXPECT_EQ(log.size() % 2, 1u) << "every poll is a set and a query";
    EXPECT_EQ(console.rfind("\nExit while loop"), console.size() - 16);
}

}  // namespace
