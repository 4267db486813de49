// The supervisor loop against scripted modem and firmware operations: every
// row of its NORMAL/REDUCED state table, its timing on the virtual clock, and
// the exact bytes it writes on both channels.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "scripted_operations.h"
#include "sim/model/clock.h"
#include "supervisor/supervisor.h"

using scripted::Cycle;
using Calls = std::vector<std::string>;

namespace {

constexpr Cycle kIdle{1, 0, false};
constexpr Cycle kTransmitting{1, 0, true};
constexpr Cycle kPollFailed{1, 5, false};
constexpr Cycle kIdleCommandFails{1, 0, false, false};
constexpr Cycle kTransmittingCommandFails{1, 0, true, false};

struct LoopRun {
    int status;
    Calls calls;
    std::string console;
    std::string debugger;
};

LoopRun RunWith(std::vector<Cycle> cycles) {
    scripted::Play(std::move(cycles));
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = RunSupervisor();
    std::string console = testing::internal::GetCapturedStdout();
    std::string debugger = testing::internal::GetCapturedStderr();
    return {status, scripted::Calls(), console, debugger};
}

// The calls the shutdown makes when the radio is found off at `ms`.
Calls Shutdown(uint64_t ms) {
    const std::string at = std::to_string(ms);
    return {at + " radio 0", at + " NORMAL"};
}

Calls Join(Calls head, const Calls& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST(SupervisorLoop, RadioOffAtFirstProbeShutsDownWithoutPolling) {
    const LoopRun run = RunWith({});
    EXPECT_EQ(run.status, kExitRadioOff);
    EXPECT_EQ(run.calls, Join({"0 InitSAR"}, Shutdown(0)));
    EXPECT_EQ(sim::NowMs(), 1000u) << "the exit lines follow a 1000 ms pause";
    EXPECT_EQ(run.console,
              "\nMBSar::InitSAR()"
              "\nMBSar::GetRadioState()  Off"
              "\nSetWLANTxState_WLANNORMAL()"
              "\nExit while loop");
    EXPECT_EQ(run.debugger,
              "[MS_SAR] MBSar::InitSAR()\n"
              "[MS_SAR]  MBSar::GetRadioState()  Off\n"
              "[MS_SAR] SetWLANTxState_WLANNORMAL()\n"
              "[MS_SAR] Exit while loop\n");
}

TEST(SupervisorLoop, NormalStateRows) {
    // inactive: no command, the next cycle after the 3000 ms pause
    EXPECT_EQ(RunWith({kIdle}).calls, Join({"0 InitSAR", "0 radio 1", "0 poll 0 inactive"}, Shutdown(3000)));
    // active: REDUCE in the same cycle, before the pause
    EXPECT_EQ(RunWith({kTransmitting}).calls,
              Join({"0 InitSAR", "0 radio 1", "0 poll 0 active", "0 REDUCE"}, Shutdown(3000)));
    // failed: nothing, then the pause like any cycle
    EXPECT_EQ(RunWith({kPollFailed}).calls, Join({"0 InitSAR", "0 radio 1", "0 poll 5 inactive"}, Shutdown(3000)));
}

TEST(SupervisorLoop, ReducedStateRows) {
    const Calls reduced = {"0 InitSAR", "0 radio 1", "0 poll 0 active", "0 REDUCE"};
    // inactive: NORMAL at once, then the pause
    EXPECT_EQ(RunWith({kTransmitting, kIdle}).calls,
              Join(reduced, Join({"3000 radio 1", "3000 poll 0 inactive", "3000 NORMAL"}, Shutdown(6000))));
    // active: nothing more is sent
    EXPECT_EQ(RunWith({kTransmitting, kTransmitting}).calls,
              Join(reduced, Join({"3000 radio 1", "3000 poll 0 active"}, Shutdown(6000))));
    // failed: no NORMAL, the pause; the state stays REDUCED
    EXPECT_EQ(RunWith({kTransmitting, kPollFailed, kTransmitting}).calls,
              Join(reduced, Join({"3000 radio 1", "3000 poll 5 inactive", "6000 radio 1", "6000 poll 0 active"},
                                 Shutdown(9000))));
    // radio off: the shutdown NORMAL is the only one
    EXPECT_EQ(RunWith({kTransmitting}).calls, Join(reduced, Shutdown(3000)));
}

TEST(SupervisorLoop, LongTransmissionSendsExactlyOneReduce) {
    std::vector<Cycle> cycles(50, kTransmitting);
    const LoopRun run = RunWith(cycles);
    EXPECT_EQ(std::count(run.calls.begin(), run.calls.end(), "0 REDUCE"), 1);
    EXPECT_EQ(run.calls.back(), "150000 NORMAL");
    EXPECT_EQ(run.console,
              "\nMBSar::InitSAR()"
              "\nSetWLANTxState_WLANREDUCE()"
              "\nMBSar::GetRadioState()  Off"
              "\nSetWLANTxState_WLANNORMAL()"
              "\nExit while loop");
}

TEST(SupervisorLoop, RunOfFailedPollsWaitsEachCycleAndStillEndsWhenRadioGoesOff) {
    std::vector<Cycle> cycles{kTransmitting};
    cycles.insert(cycles.end(), 200, kPollFailed);
    const LoopRun run = RunWith(cycles);
    EXPECT_EQ(run.calls.back(), "603000 NORMAL") << "each of the 200 failed polls waits its 3000 ms";
    EXPECT_EQ(std::count_if(run.calls.begin(), run.calls.end(),
                            [](const std::string& call) { return call.ends_with("NORMAL"); }),
              1);
    EXPECT_EQ(run.status, kExitRadioOff);
}

TEST(SupervisorLoop, TransmissionActiveFromAFailedPollIsNotActedOn) {
    const Cycle failedButActive{1, 7, true};
    const LoopRun run = RunWith({failedButActive, kIdle});
    EXPECT_EQ(run.calls, Join({"0 InitSAR", "0 radio 1", "0 poll 7 active", "3000 radio 1", "3000 poll 0 inactive"},
                              Shutdown(6000)));
}

// The reduced flag follows what the firmware carried out: a command that did
// not take effect is logged as usual and sent again after the next
// successful poll that still calls for it, but not after a failed poll.
TEST(SupervisorLoop, CommandThatDidNotTakeEffectIsSentAgain) {
    struct Case {
        const char* name;
        std::vector<Cycle> cycles;
        std::vector<const char*> commands;  // "<ms> REDUCE|NORMAL", the shutdown's last
    };
    const Case cases[] = {
        {"REDUCE fails once", {kTransmittingCommandFails, kTransmitting, kTransmitting},
         {"0 REDUCE", "3000 REDUCE", "9000 NORMAL"}},
        {"REDUCE fails, then a poll fails", {kTransmittingCommandFails, kPollFailed, kTransmitting},
         {"0 REDUCE", "6000 REDUCE", "9000 NORMAL"}},
        {"REDUCE fails and the transmission ends", {kTransmittingCommandFails, kIdle, kIdle},
         {"0 REDUCE", "9000 NORMAL"}},
        {"NORMAL fails twice",
         {kTransmitting, kIdleCommandFails, kIdleCommandFails, kIdle, kIdle},
         {"0 REDUCE", "3000 NORMAL", "6000 NORMAL", "9000 NORMAL", "15000 NORMAL"}},
        {"NORMAL fails and the transmission resumes", {kTransmitting, kIdleCommandFails, kTransmitting},
         {"0 REDUCE", "3000 NORMAL", "9000 NORMAL"}},
    };
    for (const Case& c : cases) {
        const LoopRun run = RunWith(c.cycles);
        Calls commands;
        std::copy_if(run.calls.begin(), run.calls.end(), std::back_inserter(commands),
                     [](const std::string& call) { return call.ends_with("REDUCE") || call.ends_with("NORMAL"); });
        EXPECT_EQ(commands, Calls(c.commands.begin(), c.commands.end())) << c.name;
        const size_t pairs = std::count(run.console.begin(), run.console.end(), '\n');
        EXPECT_EQ(pairs, c.commands.size() + 3) << c.name << ": every command is logged, taking effect or not";
    }
}

TEST(SupervisorLoop, TranscriptOfTransitionsInOrder) {
    const LoopRun run = RunWith({kIdle, kTransmitting, kTransmitting, kIdle, kTransmitting});
    EXPECT_EQ(run.calls.back(), "15000 NORMAL");
    EXPECT_EQ(run.console,
              "\nMBSar::InitSAR()"
              "\nSetWLANTxState_WLANREDUCE()"
              "\nSetWLANTxState_WLANNORMAL()"
              "\nSetWLANTxState_WLANREDUCE()"
              "\nMBSar::GetRadioState()  Off"
              "\nSetWLANTxState_WLANNORMAL()"
              "\nExit while loop");
    EXPECT_EQ(run.debugger,
              "[MS_SAR] MBSar::InitSAR()\n"
              "[MS_SAR] SetWLANTxState_WLANREDUCE()\n"
              "[MS_SAR] SetWLANTxState_WLANNORMAL()\n"
              "[MS_SAR] SetWLANTxState_WLANREDUCE()\n"
              "[MS_SAR]  MBSar::GetRadioState()  Off\n"
              "[MS_SAR] SetWLANTxState_WLANNORMAL()\n"
              "[MS_SAR] Exit while loop\n");
}

}  // namespace
