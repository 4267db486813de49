// The first firmware call of a process sets COM security itself and so prints
// nothing for it; every later call finds it set. Each test needs a process
// of its own (ctest runs every test of this executable separately).
#include <string>

#include "firmware/wlan_tx_power.h"
#include "firmware_test_support.h"

namespace {

using firmware_test::CaptureChannels;
using firmware_test::StartLaptop;

const std::string kSteps =
    "\nConnectServer returned 0x0:"
    "\nGetObject returned 0x0:"
    "\nGetMethod returned 0x0:"
    "\nSpawnInstance returned 0x0:"
    "\nPut ArgName0 returned 0x0:"
    "\nPut ArgName1 returned 0x0:"
    "\nPut ArgName2 returned 0x0:"
    "\nPut ArgName3 returned 0x0:"
    "\nPut ArgName4 returned 0x0:"
    "\nPut ArgName5 returned 0x0:"
    "\npObj Get returned 0x0:"
    "\nExecMethod returned 0x0:Terminating normally\n";
const std::string kSecurityAlreadySet =
    "CoInitializeSecurity returned 0x80010119:"
    "\n[-] Err: CoInitializeSecurity";
const std::string kReduceDebugger =
    "[MS_SAR] pObj Get returned 0x0:\n"
    "[MS_SAR] ExecMethod returned 0x0:\n"
    "[MS_SAR] Terminating normally\n";

class FirstCallInProcess : public firmware_test::NothingLeftBehind {};

TEST_F(FirstCallInProcess, Reduce) {
    StartLaptop("");
    const firmware_test::Channels first = CaptureChannels(SetWLANTxState_WLANREDUCE);
    EXPECT_EQ(first.console, kSteps);
    EXPECT_EQ(first.debugger, kReduceDebugger);

    const firmware_test::Channels later = CaptureChannels(SetWLANTxState_WLANREDUCE);
    EXPECT_EQ(later.console, kSecurityAlreadySet + kSteps);
    EXPECT_EQ(later.debugger, kReduceDebugger);
}

TEST_F(FirstCallInProcess, Normal) {
    StartLaptop("");
    const firmware_test::Channels first = CaptureChannels(SetWLANTxState_WLANNORMAL);
    EXPECT_EQ(first.console, kSteps);
    EXPECT_EQ(first.debugger, "");

    const firmware_test::Channels later = CaptureChannels(SetWLANTxState_WLANNORMAL);
    EXPECT_EQ(later.console, kSecurityAlreadySet + kSteps);
    EXPECT_EQ(later.debugger, "");
}

}  // namespace
