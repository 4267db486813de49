// What the firmware tests share: a laptop started from a scenario text on the
// virtual clock, the two output channels captured apart or as one stream,
// the firmware log, and a check that a test leaves nothing behind.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "sim/model/accounting.h"

namespace firmware_test {

// The console lines of a fully successful call in a process whose COM
// security this call sets itself ...
inline const std::string kFirstCallConsole =
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

// ... and in one where an earlier call set it.
inline const std::string kLaterCallConsole =
    "CoInitializeSecurity returned 0x80010119:"
    "\n[-] Err: CoInitializeSecurity" +
    kFirstCallConsole;

// The virtual clock back at 0 and the laptop on this timeline.
void StartLaptop(const char* scenario);

struct Channels {
    std::string console;
    std::string debugger;
};

// Runs `call` with the console and the debugger channel captured apart.
Channels CaptureChannels(const std::function<void()>& call);

// Runs `call` with both channels going into one stream, in the order the
// lines were written.
std::string CaptureInterleaved(const std::function<void()>& call);

// The firmware log's lines written while `call` runs.
std::vector<std::string> FirmwareLogDuring(const std::function<void()>& call);

// Fails the test when it leaves a COM object, string or apartment entry
// behind.
class NothingLeftBehind : public testing::Test {
protected:
    void TearDown() override;

private:
    const sim::LiveCounts before_ = sim::CurrentCounts();
};

}  // namespace firmware_test
