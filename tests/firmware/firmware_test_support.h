// What the firmware tests share: a laptop started from a scenario text on the
// virtual clock, the two output channels captured apart or as one stream,
// the firmware log, and a check that a test leaves nothing behind.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "accounting.h"

namespace firmware_test {

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
