// The two WLAN transmit-power commands: their records, the reduce command's
// debugger lines interleaved with the console, the normal command's silence
// on the debugger channel, and the records a whole supervisor run sends.
#include <string>
#include <vector>

#include "firmware/wlan_tx_power.h"
#include "firmware_test_support.h"
#include "platform.h"
#include "sim/model/firmware/firmware_device.h"

namespace {

using firmware_test::CaptureChannels;
using firmware_test::CaptureInterleaved;
using firmware_test::FirmwareLogDuring;
using firmware_test::StartLaptop;

class WlanTxPower : public firmware_test::NothingLeftBehind {};

TEST_F(WlanTxPower, EachCommandSendsItsRecordAndSelectsItsState) {
    StartLaptop("");
    firmware_test::Channels reduce;
    std::vector<std::string> log = FirmwareLogDuring([&] { reduce = CaptureChannels(SetWLANTxState_WLANREDUCE); });
    EXPECT_EQ(log, std::vector<std::string>{"0 ExecINT 38448 160 2 2 0 0"});
    EXPECT_EQ(sim::firmware::CurrentWlanPower(), sim::firmware::WlanPower::Reduced);
    EXPECT_EQ(reduce.console, firmware_test::kLaterCallConsole);
    EXPECT_EQ(reduce.debugger,
              "[MS_SAR] pObj Get returned 0x0:\n"
              "[MS_SAR] ExecMethod returned 0x0:\n"
              "[MS_SAR] Terminating normally\n");

    firmware_test::Channels normal;
    log = FirmwareLogDuring([&] { normal = CaptureChannels(SetWLANTxState_WLANNORMAL); });
    EXPECT_EQ(log, std::vector<std::string>{"0 ExecINT 38448 160 1 1 0 0"});
    EXPECT_EQ(sim::firmware::CurrentWlanPower(), sim::firmware::WlanPower::Normal);
    EXPECT_EQ(normal.console, firmware_test::kLaterCallConsole);
    EXPECT_EQ(normal.debugger, "");
}

TEST_F(WlanTxPower, ReduceWithAFailingExecMethodMirrorsItsLastLinesInOrder) {
    StartLaptop("0 fail ExecMethod 0x80070005");
    const std::string stream = CaptureInterleaved(SetWLANTxState_WLANREDUCE);
    const std::string tail =
        "[MS_SAR] ExecMethod returned 0x80070005:\n"
        "\nExecMethod returned 0x80070005:"
        "[MS_SAR] [-] Err: ExecMethod\n"
        "\n[-] Err: ExecMethod"
        "[MS_SAR] Terminating normally\n"
        "Terminating normally\n";
    const std::string steps = firmware_test::kLaterCallConsole;
    const std::string beforePathRead = steps.substr(0, steps.find("\npObj Get"));
    EXPECT_EQ(stream, beforePathRead +
                          "[MS_SAR] pObj Get returned 0x0:\n"
                          "\npObj Get returned 0x0:" +
                          tail);
}

TEST_F(WlanTxPower, NormalWritesNothingOnTheDebuggerChannel) {
    for (const char* scenario : {"", "0 fail ExecMethod 0x80041001", "0 fail Get 0x80041002",
                                 "0 firmware instances 0", "0 fail ConnectServer 0x80041003"}) {
        SCOPED_TRACE(scenario);
        StartLaptop(scenario);
        const firmware_test::Channels channels = CaptureChannels(SetWLANTxState_WLANNORMAL);
        EXPECT_EQ(channels.debugger, "");
        EXPECT_NE(channels.console.find("Terminating normally\n"), std::string::npos);
    }
}

TEST_F(WlanTxPower, RepeatedCommandsSendIdenticalRecords) {
    StartLaptop("");
    std::vector<firmware_test::Channels> channels;
    const std::vector<std::string> log = FirmwareLogDuring([&] {
        channels.push_back(CaptureChannels(SetWLANTxState_WLANNORMAL));
        channels.push_back(CaptureChannels(SetWLANTxState_WLANNORMAL));
        channels.push_back(CaptureChannels(SetWLANTxState_WLANREDUCE));
        channels.push_back(CaptureChannels(SetWLANTxState_WLANREDUCE));
    });
    EXPECT_EQ(log, (std::vector<std::string>{"0 ExecINT 38448 160 1 1 0 0", "0 ExecINT 38448 160 1 1 0 0",
                                             "0 ExecINT 38448 160 2 2 0 0", "0 ExecINT 38448 160 2 2 0 0"}));
    EXPECT_EQ(channels[0].console, channels[1].console);
    EXPECT_EQ(channels[2].console, channels[3].console);
    EXPECT_EQ(channels[2].debugger, channels[3].debugger);
}

}  // namespace
