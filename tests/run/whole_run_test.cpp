// Whole runs of the sar-coordinator executable on simulated laptops: what a
// user sees on both channels, the exit status, and what reached the firmware
// and the modem, at the virtual times the loop acted.
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

TEST(WholeRun, RadioOffAtStartPinsTheConsoleBytes) {
    const ProgramRun run = RunProgram("0 radio off\n");
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.console,
              "\nMBSar::InitSAR()"
              "\nMBSar::GetRadioState()  Off"
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
              "\nExecMethod returned 0x0:Terminating normally\n"
              "\nSetWLANTxState_WLANNORMAL()"
              "\nExit while loop");
    EXPECT_EQ(run.debugger,
              "[MS_SAR] MBSar::InitSAR()\n"
              "[MS_SAR]  MBSar::GetRadioState()  Off\n"
              "[MS_SAR] SetWLANTxState_WLANNORMAL()\n"
              "[MS_SAR] Exit while loop\n");
    EXPECT_EQ(run.firmwareLog, Lines{std::string("5 ") + kNormal});
    EXPECT_EQ(run.modemLog, Lines{"0 set 1 01000000000000000100000014000000080000000000000001000000"});
}

TEST(WholeRun, TransmittingTwiceReducesAndRestoresExactlyAtTheTransitions) {
    const ProgramRun run = RunProgram(
        "0 radio on\n2 tx active\n8 tx inactive\n14 tx active\n17 tx inactive\n24 radio off\n");
    EXPECT_EQ(run.exitStatus, 0);
    // Each cycle is 3000 ms plus two 5 ms modem commands; the first query to
    // see a change completes 5 ms after it is stamped, and the command follows.
    EXPECT_EQ(run.firmwareLog, (Lines{std::string("3025 ") + kReduce, std::string("9045 ") + kNormal,
                                      std::string("15065 ") + kReduce, std::string("18075 ") + kNormal,
                                      std::string("24085 ") + kNormal}));
    EXPECT_EQ(run.debugger,
              "[MS_SAR] MBSar::InitSAR()\n"
              "[MS_SAR] pObj Get returned 0x0:\n"
              "[MS_SAR] ExecMethod returned 0x0:\n"
              "[MS_SAR] Terminating normally\n"
              "[MS_SAR] SetWLANTxState_WLANREDUCE()\n"
              "[MS_SAR] SetWLANTxState_WLANNORMAL()\n"
              "[MS_SAR] pObj Get returned 0x0:\n"
              "[MS_SAR] ExecMethod returned 0x0:\n"
              "[MS_SAR] Terminating normally\n"
              "[MS_SAR] SetWLANTxState_WLANREDUCE()\n"
              "[MS_SAR] SetWLANTxState_WLANNORMAL()\n"
              "[MS_SAR]  MBSar::GetRadioState()  Off\n"
              "[MS_SAR] SetWLANTxState_WLANNORMAL()\n"
              "[MS_SAR] Exit while loop\n");
    // The SAR configuration once, then a set and a query in every cycle.
    ASSERT_EQ(run.modemLog.size(), 1u + 2u * 8u);
    EXPECT_EQ(run.modemLog[0], "0 set 1 01000000000000000100000014000000080000000000000001000000");
    EXPECT_EQ(run.modemLog[1], "5 set 2 0100000001000000");
    EXPECT_EQ(run.modemLog[2], "10 query 2 0000000000000000");
    EXPECT_EQ(run.modemLog[3], "3015 set 2 0100000001000000");
    EXPECT_EQ(LinesWith(run.modemLog, "set 2 0100000001000000").size(), 8u);
    EXPECT_EQ(LinesWith(run.modemLog, "query 2 0000000000000000").size(), 8u);
    EXPECT_EQ(Occurrences(run.console, " Transmission Status: active\n"), 2u * 3u);
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

TEST(WholeRun, MissingModemEndsWithOneLineAndLeavesWlanPowerAlone) {
    const ProgramRun run = RunProgram("0 modem absent\n");
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_EQ(run.console, "\nNo mobile broadband modem found: the system reports none\n");
    EXPECT_EQ(run.debugger, "");
    EXPECT_TRUE(run.firmwareLog.empty());
    EXPECT_TRUE(run.modemLog.empty());
}

TEST(WholeRun, ModemWithoutSarServiceEndsWithOneLine) {
    const ProgramRun run = RunProgram("0 fail GetDeviceService 0x80070490 1\n1 radio off\n");
    EXPECT_EQ(run.exitStatus, 3);
    EXPECT_TRUE(run.console.starts_with("\nThe modem offers no SAR device service: 0x80070490"));
    EXPECT_EQ(std::count(run.console.begin(), run.console.end(), '\n'), 2);
    EXPECT_TRUE(run.firmwareLog.empty());
    EXPECT_TRUE(run.modemLog.empty());
}

TEST(WholeRun, EscapingFailureIsReportedInOneLineWithoutTouchingWlanPower) {
    // The first debugger message cannot get its buffer.
    const ProgramRun run = RunProgram("0 fail HeapAlloc 0x8007000E\n1 radio off\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.console, "\nsar-coordinator stopped: DebugPrint failed with 0x8007000e\n");
    EXPECT_TRUE(run.firmwareLog.empty());
}

// Malformed input or environment: one line naming what is wrong, status 2,
// before the program prints anything or the modem hears anything.
TEST(WholeRun, MalformedSetUpStopsBeforeAnythingRuns) {
    const struct {
        std::string scenario;
        std::string environment;
        std::string complaint;  // the end of the one line on standard error
    } rows[] = {
        {"0 radio on\n1 tx maybe\n", "", "scenario.txt:2: 'tx' takes 'active' or 'inactive', not 'maybe'\n"},
        {"", "SAR_SIM_CLOCK=sometimes", ": SAR_SIM_CLOCK must be 'virtual' or 'real', not 'sometimes'\n"},
        {"", "SAR_SIM_SCENARIO=/", "/: is a directory, not a scenario file\n"},
        {"", "SAR_SIM_FIRMWARE_LOG=/nonexistent/firmware.log",
         "SAR_SIM_FIRMWARE_LOG: cannot write /nonexistent/firmware.log\n"},
        {"", "SAR_SIM_MODEM_LOG=/nonexistent/modem.log", "SAR_SIM_MODEM_LOG: cannot write /nonexistent/modem.log\n"},
        {"0 radio on\n", "",
         "scenario.txt: the radio never goes off, so a run on the virtual clock would never end "
         "(add '<seconds> radio off')\n"},
        {"", "SAR_SIM_SCENARIO=/dev/null", "/dev/null: the radio never goes off, so a run on the virtual clock "
                                            "would never end (add '<seconds> radio off')\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.scenario + row.environment);
        const ProgramRun run = RunProgram(row.scenario, row.environment);
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.console, "");
        EXPECT_TRUE(run.debugger.starts_with("simulated laptop: ")) << run.debugger;
        EXPECT_TRUE(run.debugger.ends_with(row.complaint)) << run.debugger;
        EXPECT_EQ(std::count(run.debugger.begin(), run.debugger.end(), '\n'), 1);
        EXPECT_TRUE(run.modemLog.empty());
    }
}

// On the real clock a radio that stays on is a laptop in use: the run goes on
// until it is stopped from outside.
TEST(WholeRun, RadioThatStaysOnKeepsARealClockRunGoing) {
    const ProgramRun run = RunProgram("0 radio on\n", "SAR_SIM_CLOCK=real", 1);
    EXPECT_EQ(run.exitStatus, kTimedOut);
    EXPECT_TRUE(run.console.starts_with("\nMBSar::InitSAR()\n Transmission notification: enabled"));
}

}  // namespace
