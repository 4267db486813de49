// What every modem test needs: a scenario started on the virtual clock, the
// modem log in a file of its own, and the check that nothing the platform
// handed out is left behind when the test ends.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "sim/model/accounting.h"

namespace sim {
void PrintTo(const LiveCounts& counts, std::ostream* out);
}

class ModemTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads the scenario at virtual time 0, with a modem fresh from the factory
    // and an empty modem log.
    void Start(const std::string& scenario);

    // The modem log's lines so far, "<ms> <set|query> <cid> <hex>".
    std::vector<std::string> ModemLog() const;

private:
    std::string logPath_;
    sim::LiveCounts before_;
};

// Waits (briefly, in real time) until the platform's completion threads have
// dropped their last references, then returns the live counts.
sim::LiveCounts SettledCounts(const sim::LiveCounts& expected);

// What an MBSar operation returned, and what it printed on the console.
template <typename Result>
struct ConsoleOutcome {
    Result result;
    std::string console;
};

template <typename Result>
ConsoleOutcome<Result> CaptureConsole(Result (*operation)()) {
    testing::internal::CaptureStdout();
    const Result result = operation();
    return {result, testing::internal::GetCapturedStdout()};
}

// The poll's report as printed on the console.
std::string Report(const char* notification, int hysteresisTimer, const char* status);
