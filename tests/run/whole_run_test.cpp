// Whole runs of the sar-coordinator executable on simulated laptops, beside
// the scenario corpus (corpus_test.cpp): the runs whose transcripts the
// corpus does not pin -- the built-in timeline, polls that fail for a span of
// time rather than a number of times (their count depends on the clock), a
// modem without the SAR service, a failure of a call that only the Linux
// build's simulated surface can inject (HeapAlloc), each line that can end a
// run, a malformed set-up.
#include <gtest/gtest.h>

#include <algorithm>

#include "program_run.h"
#include "sim/model/run_endings.h"

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

// The exposure report of whole runs, against values worked out by hand from
// the loop's timing: a cycle is 3000 ms plus a set and a query, each taking
// the modem's latency.
TEST(WholeRun, ExposureReportHoldsTheHandComputedValues) {
    struct Run {
        const char* name;
        const char* scenario;
        const char* report;
    };
    const Run runs[] = {
        {"built-in: the query at 6030 ms sees the transmission that began at 4 s; REDUCE at 6035 ms, NORMAL "
         "at 15065 ms, 2065 ms after it ended",
         "",
         R"({
  "run_ms": 22075,
  "transmitting_ms": 9000,
  "unprotected_ms": 2035,
  "reduced_idle_ms": 2065,
  "spans": [
    {"start_ms": 4000, "end_ms": 13000, "reduced_ms": 6035, "unprotected_ms": 2035}
  ],
  "worst_reaction_ms": 2035,
  "window_unprotected_ms": {"30000": 2035, "60000": 2035, "100000": 2035}
}
)"},
        {"the REDUCE's ExecMethod fails at 3026 ms (the fault takes 1 ms); the next cycle's query at 6031 ms "
         "still sees the transmission and sends it again, which takes effect at 6036 ms; NORMAL at 9046 ms",
         "0 radio on\n2 tx active\n2 fail ExecMethod 0x80041001 1\n8 tx inactive\n14 radio off\n",
         R"({
  "run_ms": 16056,
  "transmitting_ms": 6000,
  "unprotected_ms": 4036,
  "reduced_idle_ms": 1046,
  "spans": [
    {"start_ms": 2000, "end_ms": 8000, "reduced_ms": 6036, "unprotected_ms": 4036}
  ],
  "worst_reaction_ms": 4036,
  "window_unprotected_ms": {"30000": 4036, "60000": 4036, "100000": 4036}
}
)"},
        {"latency 40: REDUCE at 3200 ms; the radio going off ends the span at 7 s, WLAN stays reduced until "
         "the shutdown's NORMAL at 9280 ms",
         "0 latency 40\n0 radio on\n1 tx active\n7 radio off\n",
         R"({
  "run_ms": 10280,
  "transmitting_ms": 6000,
  "unprotected_ms": 2200,
  "reduced_idle_ms": 2280,
  "spans": [
    {"start_ms": 1000, "end_ms": 7000, "reduced_ms": 3200, "unprotected_ms": 2200}
  ],
  "worst_reaction_ms": 2200,
  "window_unprotected_ms": {"30000": 2200, "60000": 2200, "100000": 2200}
}
)"},
    };
    for (const Run& expected : runs) {
        const ProgramRun run = RunProgram(expected.scenario);
        EXPECT_EQ(run.exitStatus, 0) << expected.name;
        EXPECT_EQ(run.report, expected.report) << expected.name;
    }
}

// A failed poll waits its 3000 ms like any other cycle, whether the modem
// rejected its query or the failure came before any modem I/O.
TEST(WholeRun, PollsThatKeepFailingWaitTheirCycleUntilTheRadioGoesOff) {
    const ProgramRun rejected = RunProgram("0 status tx-query 5\n10 radio off\n");
    EXPECT_EQ(rejected.exitStatus, 0);
    EXPECT_EQ(LinesWith(rejected.modemLog, "query 2"),
              (Lines{"10 query 2 0000000000000000", "3020 query 2 0000000000000000", "6030 query 2 0000000000000000",
                     "9040 query 2 0000000000000000"}));
    EXPECT_EQ(Occurrences(rejected.console, "\nset transmission status failed\n"), 4u);
    EXPECT_EQ(rejected.firmwareLog, Lines{std::string("12045 ") + kNormal}) << "only the shutdown's NORMAL";

    // Each refused service costs the fault's 1 ms, then the cycle's pause.
    const ProgramRun refused = RunProgram("0 fail GetDeviceService 0x80004005\n9.5 radio off\n");
    EXPECT_EQ(refused.exitStatus, 0);
    EXPECT_TRUE(refused.modemLog.empty());
    EXPECT_EQ(Occurrences(refused.console, "\naccess violation occured\n"), 4u);
    EXPECT_EQ(refused.firmwareLog, Lines{std::string("12005 ") + kNormal});
}

// A SAR device service the modem refuses at start costs the SAR configuration,
// not the run: InitSAR gives up silently and every poll asks afresh.
TEST(WholeRun, SarServiceRefusedAtStartDoesNotEndTheRun) {
    const ProgramRun once = RunProgram("0 fail GetDeviceService 0x80004005 1\n1.5 tx active\n7.5 radio off\n");
    EXPECT_EQ(once.exitStatus, 0);
    EXPECT_TRUE(once.console.starts_with("\nMBSar::InitSAR()\n Transmission notification: enabled"));
    EXPECT_TRUE(LinesWith(once.modemLog, "set 1 ").empty()) << "the SAR configuration never went out";
    // The refused call took 1 ms; the query at 3016 ms sees the transmission.
    EXPECT_EQ(once.firmwareLog, (Lines{std::string("3021 ") + kReduce, std::string("9031 ") + kNormal}));
}

// Each supervisor event and each of REDUCE's four mirrored lines: the
// debugger line, then at once its console twin.
TEST(WholeRun, EveryMirroredPairIsDebuggerLineFirstWithNothingBetween) {
    const std::pair<std::string, std::string> pairs[] = {
        {"[MS_SAR] MBSar::InitSAR()", "\nMBSar::InitSAR()"},
        {"[MS_SAR] SetWLANTxState_WLANREDUCE()", "\nSetWLANTxState_WLANREDUCE()"},
        {"[MS_SAR] SetWLANTxState_WLANNORMAL()", "\nSetWLANTxState_WLANNORMAL()"},
        {"[MS_SAR]  MBSar::GetRadioState()  Off", "\nMBSar::GetRadioState()  Off"},
        {"[MS_SAR] Exit while loop", "\nExit while loop"},
        {"[MS_SAR] pObj Get returned 0x0:", "\npObj Get returned 0x0:"},
        {"[MS_SAR] ExecMethod returned 0x80041001:", "\nExecMethod returned 0x80041001:"},
        {"[MS_SAR] [-] Err: ExecMethod", "\n[-] Err: ExecMethod"},
        {"[MS_SAR] Terminating normally", "Terminating normally\n"},
    };
    const std::string stream =
        RunProgramInOneStream("1.5 tx active\n1.5 fail ExecMethod 0x80041001 1\n4.5 radio off\n");
    size_t debuggerLines = 0;
    for (size_t at = stream.find("[MS_SAR]"); at != std::string::npos; at = stream.find("[MS_SAR]", at + 1)) {
        ++debuggerLines;
        const std::string rest = stream.substr(at);
        const bool twinFollows = std::any_of(std::begin(pairs), std::end(pairs), [&](const auto& pair) {
            return rest.starts_with(pair.first + "\n" + pair.second);
        });
        EXPECT_TRUE(twinFollows) << "no console twin right after: " << rest.substr(0, rest.find('\n'));
    }
    EXPECT_EQ(debuggerLines, 9u) << "every pair of the run is there";
}

TEST(WholeRun, EscapingFailureIsReportedInOneLineAndOneErrorEventWithoutTouchingWlanPower) {
    // The first debugger message cannot get its buffer.
    const ProgramRun run = RunProgram("0 fail HeapAlloc 0x8007000E\n1 radio off\n");
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.console, "\nsar-coordinator stopped: DebugPrint failed with 0x8007000e\n");
    EXPECT_EQ(run.eventLog, Lines{"6\terror\t6\tDebugPrint failed with 0x8007000e"});
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
        {"", "SAR_SIM_SCENARIO=", ": SAR_SIM_SCENARIO is empty: name a scenario file, or unset it for the built-in "
                                  "timeline\n"},
        {"", "SAR_SIM_FIRMWARE_LOG=/nonexistent/firmware.log",
         "SAR_SIM_FIRMWARE_LOG: cannot write /nonexistent/firmware.log\n"},
        {"", "SAR_SIM_MODEM_LOG=/nonexistent/modem.log", "SAR_SIM_MODEM_LOG: cannot write /nonexistent/modem.log\n"},
        {"", "SAR_SIM_EVENT_LOG=/nonexistent/events.log", "SAR_SIM_EVENT_LOG: cannot write /nonexistent/events.log\n"},
        {"", "SAR_SIM_REPORT=/nonexistent/report.json", "SAR_SIM_REPORT: cannot write /nonexistent/report.json\n"},
        {"0 radio on\n1.5 tx active\n7.5 fail CurrentRadioState ok\n", "",
         "scenario.txt: nothing in the timeline can end a run, so a run on the virtual clock would never end "
         "(add '<seconds> radio off' or '<seconds> fail CurrentRadioState HRESULT' or '<seconds> stop requested')\n"},
        {"", "SAR_SIM_SCENARIO=/dev/null", "/dev/null: nothing in the timeline can end a run, so a run on the "
                                            "virtual clock would never end (add '<seconds> radio off' or "
                                            "'<seconds> fail CurrentRadioState HRESULT' or '<seconds> stop "
                                            "requested')\n"},
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

// Each line of the simulator's list of what ends a run is accepted on the
// virtual clock, and ends the run with the status the list gives: a line that
// can end a run at any time comes in the middle of a transmission, a start-up
// one at time 0. A limited fault or missing object is used up once only.
TEST(WholeRun, EachLineThatCanEndARunEndsOne) {
    for (const sim::RunEnding& ending : sim::kRunEndings) {
        const std::string call(ending.call);
        const std::string event = ending.kind == sim::EventKind::Radio         ? "radio off"
                                  : ending.kind == sim::EventKind::ModemAbsent   ? "modem absent"
                                  : ending.kind == sim::EventKind::StopRequested ? "stop requested"
                                  : ending.kind == sim::EventKind::Fail          ? "fail " + call + " 0x80070005 1"
                                                                                 : "none " + call + " 1";
        const std::string scenario = ending.atStartOnly ? "0 " + event + "\n1.5 tx active\n"
                                                        : "1.5 tx active\n7.5 " + event + "\n";
        const ProgramRun run = RunProgram(scenario, {}, 10);
        EXPECT_EQ(run.exitStatus, ending.exitStatus) << scenario << run.debugger;
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
