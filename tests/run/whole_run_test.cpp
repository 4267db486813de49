// Whole runs of the sar-coordinator executable on simulated laptops, beside
// the scenario corpus (corpus_test.cpp): the runs whose transcripts the
// corpus does not pin -- the built-in timeline, polls that fail for a span of
// time rather than a number of times (their count depends on the clock), a
// modem without the SAR service, a failure of a call that only the Linux
// build's simulated surface can inject (HeapAlloc), a malformed set-up.
#include <gtest/gtest.h>

#include <algorithm>

#include "program_run.h"

namespace {

using Lines = std::vector<std::string>;

constexpr char kReduce[] = "ExecINT 38448 160 2 2 0 0";
constexpr char kNormal[] = "ExecINT 38448 160 1 1 0 0";

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
}

TEST(WholeRun, BuiltInScenarioShowsEveryTransitionWithinHalfAMinute) {
    const ProgramRun run = RunProgram("");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.firmwareLog, (Lines{std::string("6035 ") + kReduce, std::string("15065 ") + kNormal,
                                      std::string("21075 ") + kNormal}));
    EXPECT_TRUE(run.console.ends_with("\nSetWLANTxState_WLANNORMAL()\nExit while loop"));
}

TEST(WholeRun, PollsThatKeepFailingRunBackToBackUntilTheRadioGoesOff) {
    const ProgramRun run = RunProgram("0 status tx-query 5\n1 radio off\n");
    EXPECT_EQ(run.exitStatus, 0);
    // No pause between failed cycles: only the modem's 5 ms per command.
    const Lines queries = LinesWith(run.modemLog, "query 2");
    ASSERT_GE(queries.size(), 2u);
    EXPECT_EQ(queries[0], "10 query 2 0000000000000000");
    EXPECT_EQ(queries[1], "20 query 2 0000000000000000");
    EXPECT_EQ(Occurrences(run.console, "\nset transmission status failed\n"), queries.size());
    EXPECT_EQ(run.firmwareLog, Lines{std::string("1005 ") + kNormal}) << "only the shutdown's NORMAL";
}

TEST(WholeRun, ModemWithoutSarServiceEndsWithOneLine) {
    const ProgramRun run = RunProgram("0 fail GetDeviceService 0x80070490 1\n");
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_TRUE(run.console.starts_with("\nThe modem offers no SAR device service: 0x80070490"));
    EXPECT_EQ(std::count(run.console.begin(), run.console.end(), '\n'), 2);
    EXPECT_TRUE(run.firmwareLog.empty());
    EXPECT_TRUE(run.modemLog.empty());
}

TEST(WholeRun, EscapingFailureIsReportedInOneLineWithoutTouchingWlanPower) {
    // The first debugger message cannot get its buffer.
    const ProgramRun run = RunProgram("0 fail HeapAlloc 0x8007000E\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.console, "\nsar-coordinator stopped: DebugPrint failed with 0x8007000e\n");
    EXPECT_TRUE(run.firmwareLog.empty());
}

TEST(WholeRun, MalformedSetUpStopsBeforeAnythingRuns) {
    const ProgramRun scenario = RunProgram("0 radio on\n1 tx maybe\n");
    EXPECT_EQ(scenario.exitStatus, 2);
    EXPECT_EQ(scenario.console, "");
    EXPECT_TRUE(scenario.debugger.ends_with("scenario.txt:2: 'tx' takes 'active' or 'inactive', not 'maybe'\n"));
    EXPECT_TRUE(scenario.modemLog.empty());

    const ProgramRun clock = RunProgram("", "SAR_SIM_CLOCK=sometimes");
    EXPECT_EQ(clock.exitStatus, 2);
    EXPECT_EQ(clock.console, "");
    EXPECT_EQ(clock.debugger, "simulated laptop: SAR_SIM_CLOCK must be 'virtual' or 'real', not 'sometimes'\n");
}

}  // namespace
