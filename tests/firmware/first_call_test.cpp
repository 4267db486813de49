// The first firmware call of a process sets COM security itself and so prints
// nothing for it; every later call finds it set. Each test needs a process
// of its own (ctest runs every test of this executable separately).
#include <string>

#include "firmware/wlan_tx_power.h"
#include "firmware_test_support.h"

namespace {

using firmware_test::CaptureChannels;
using firmware_test::StartLaptop;

const std::string kReduceDebugger =
    "[MS_SAR] pObj Get returned 0x0:\n"
    "[MS_SAR] ExecMethod returned 0x0:\n"
    "[MS_SAR] Terminating normally\n";

class FirstCallInProcess : public firmware_test::NothingLeftBehind {};

TEST_F(FirstCallInProcess, Reduce) {
    StartLaptop("");
    const firmware_test::Channels first = CaptureChannels(SetWLANTxState_WLANREDUCE);
    EXPECT_EQ(first.console, firmware_test::kFirstCallConsole);
    EXPECT_EQ(first.debugger, kReduceDebugger);

    const firmware_test::Channels later = CaptureChannels(SetWLANTxState_WLANREDUCE);
    EXPECT_EQ(later.console, firmware_test::kLaterCallConsole);
    EXPECT_EQ(later.debugger, kReduceDebugger);
}

TEST_F(FirstCallInProcess, Normal) {
    StartLaptop("");
    const firmware_test::Channels first = CaptureChannels(SetWLANTxState_WLANNORMAL);
    EXPECT_EQ(first.console, firmware_test::kFirstCallConsole);
    EXPECT_EQ(first.debugger, "");

    const firmware_test::Channels later = CaptureChannels(SetWLANTxState_WLANNORMAL);
    EXPECT_EQ(later.console, firmware_test::kLaterCallConsole);
    EXPECT_EQ(later.debugger, "");
}

}  // namespace
