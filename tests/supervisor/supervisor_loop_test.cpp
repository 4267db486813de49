// The supervisor loop against scripted modem and firmware operations: every
// row of its NORMAL/REDUCED state table, acting on every fresh answer, finding
// the modem again after a run of unanswered polls, its timing on the virtual
// clock, and the exact bytes it writes on both channels.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <string>
#include <vector>

#include "platform.h"
#include "scripted_operations.h"
#include "sim/model/clock.h"
#include "sim/model/laptop.h"
#include "supervisor/supervisor.h"

using scripted::Cycle;
using scripted::Reacquired;
using Calls = std::vector<std::string>;
using FailureKind = MBSar::PollFailure::Kind;

namespace {

constexpr Cycle kIdle{1, true, false};
constexpr Cycle kTransmitting{1, true, true};
constexpr Cycle kUnanswered{1, false, false};
constexpr Cycle kIdleCommandFails{1, true, false, false};
constexpr Cycle kTransmittingCommandFails{1, true, true, false};

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

// The calls whose operation ends with `suffix`.
Calls CallsEndingWith(const Calls& calls, const std::string& suffix) {
    Calls found;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                 [&suffix](const std::string& call) { return call.ends_with(suffix); });
    return found;
}

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++count;
    return count;
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
    EXPECT_EQ(RunWith({kIdle}).calls, Join({"0 InitSAR", "0 radio 1", "0 poll fresh inactive"}, Shutdown(3000)));
    // active: REDUCE in the same cycle, before the pause
    EXPECT_EQ(RunWith({kTransmitting}).calls,
              Join({"0 InitSAR", "0 radio 1", "0 poll fresh active", "0 REDUCE"}, Shutdown(3000)));
    // no answer: nothing, then the pause like any cycle
    EXPECT_EQ(RunWith({kUnanswered}).calls,
              Join({"0 InitSAR", "0 radio 1", "0 poll none inactive"}, Shutdown(3000)));
}

TEST(SupervisorLoop, ReducedStateRows) {
    const Calls reduced = {"0 InitSAR", "0 radio 1", "0 poll fresh active", "0 REDUCE"};
    // inactive: NORMAL at once, then the pause
    EXPECT_EQ(RunWith({kTransmitting, kIdle}).calls,
              Join(reduced, Join({"3000 radio 1", "3000 poll fresh inactive", "3000 NORMAL"}, Shutdown(6000))));
    // active: nothing more is sent
    EXPECT_EQ(RunWith({kTransmitting, kTransmitting}).calls,
              Join(reduced, Join({"3000 radio 1", "3000 poll fresh active"}, Shutdown(6000))));
    // no answer: no NORMAL, the pause; the state stays REDUCED
    EXPECT_EQ(RunWith({kTransmitting, kUnanswered, kTransmitting}).calls,
              Join(reduced, Join({"3000 radio 1", "3000 poll none inactive", "6000 radio 1", "6000 poll fresh active"},
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

TEST(SupervisorLoop, RunOfUnansweredPollsWaitsEachCycleAndStillEndsWhenRadioGoesOff) {
    std::vector<Cycle> cycles{kTransmitting};
    cycles.insert(cycles.end(), 200, kUnanswered);
    const LoopRun run = RunWith(cycles);
    EXPECT_EQ(run.calls.back(), "603000 NORMAL") << "each of the 200 unanswered polls waits its 3000 ms";
    EXPECT_EQ(CallsEndingWith(run.calls, "NORMAL").size(), 1u);
    EXPECT_EQ(run.status, kExitRadioOff);
}

// A fresh answer is acted on whatever else failed in its poll; a poll
// without one is not, whatever TransmissionActive holds.
TEST(SupervisorLoop, ActsOnEveryFreshAnswerAndOnNothingElse) {
    const struct {
        const char* name;
        Cycle cycle;
        Calls commands;
    } rows[] = {
        {"fresh, fully successful", kTransmitting, {"0 REDUCE", "3000 NORMAL"}},
        {"fresh, SET rejected", {1, true, true, true, FailureKind::SetRejected}, {"0 REDUCE", "3000 NORMAL"}},
        {"fresh, the close failed", {1, true, true, true, FailureKind::Platform}, {"0 REDUCE", "3000 NORMAL"}},
        {"no answer, flag left active", {1, false, true, true, FailureKind::QueryRejected}, {"3000 NORMAL"}},
        {"no answer, timed out", {1, false, true, true, FailureKind::TimedOut}, {"3000 NORMAL"}},
    };
    for (const auto& row : rows) {
        const LoopRun run = RunWith({row.cycle});
        const Calls commands = Join(CallsEndingWith(run.calls, "REDUCE"), CallsEndingWith(run.calls, "NORMAL"));
        EXPECT_EQ(commands, row.commands) << row.name;
    }
}

// After every tenth poll in a row without an answer the modem is found again
// and sent the SAR configuration; the WLAN state is kept, so the REDUCE of
// before is not sent again when the answers come back.
TEST(SupervisorLoop, FindsTheModemAgainAfterEveryTenUnansweredPolls) {
    std::vector<Cycle> cycles{kTransmitting};
    cycles.insert(cycles.end(), 25, kUnanswered);
    cycles.push_back(kTransmitting);
    const LoopRun run = RunWith(cycles);
    EXPECT_EQ(CallsEndingWith(run.calls, "reacquire found"), (Calls{"30000 reacquire found", "60000 reacquire found"}));
    EXPECT_EQ(CallsEndingWith(run.calls, "InitSAR"), (Calls{"0 InitSAR", "30000 InitSAR", "60000 InitSAR"}));
    EXPECT_EQ(CallsEndingWith(run.calls, "REDUCE"), Calls{"0 REDUCE"});
    EXPECT_EQ(run.calls.back(), "81000 NORMAL");
    EXPECT_EQ(Occurrences(run.console, "\nMBSar::ReacquireModem()"), 2u);
    EXPECT_EQ(Occurrences(run.debugger, "[MS_SAR] MBSar::ReacquireModem()\n"), 2u);

    // A fresh answer starts the count again: 9 + 9 unanswered find nothing.
    std::vector<Cycle> interrupted(9, kUnanswered);
    interrupted.push_back(kIdle);
    interrupted.insert(interrupted.end(), 9, kUnanswered);
    EXPECT_TRUE(CallsEndingWith(RunWith(interrupted).calls, "reacquire found").empty());
}

// A modem that is not there again, or is there without its SAR device
// service, is gone: the loop ends as for a radio that is off.
TEST(SupervisorLoop, ModemGoneWhenFoundAgainEndsTheLoopAsRadioOff) {
    for (const Reacquired gone : {Reacquired::NoModem, Reacquired::ModemWithoutSarService}) {
        std::vector<Cycle> cycles{kTransmitting};
        cycles.insert(cycles.end(), 9, kUnanswered);
        cycles.push_back({1, false, false, true, FailureKind::TimedOut, gone});
        cycles.push_back(kTransmitting);
        const LoopRun run = RunWith(cycles);
        EXPECT_EQ(run.status, kExitRadioOff);
        EXPECT_EQ(run.calls.back(), "30000 NORMAL") << "no probe after the tenth unanswered poll";
        EXPECT_EQ(CallsEndingWith(run.calls, "REDUCE").size(), 1u);
        EXPECT_TRUE(run.console.ends_with("\nMBSar::GetRadioState()  Off\nSetWLANTxState_WLANNORMAL()\nExit while loop"));
        EXPECT_EQ(Occurrences(run.console, "ReacquireModem"), 0u);
    }
}

// The reduced flag follows what the firmware carried out: a command that did
// not take effect is logged as usual and sent again after the next
// fresh answer that still calls for it, but not after a poll without one.
TEST(SupervisorLoop, CommandThatDidNotTakeEffectIsSentAgain) {
    struct Case {
        const char* name;
        std::vector<Cycle> cycles;
        std::vector<const char*> commands;  // "<ms> REDUCE|NORMAL", the shutdown's last
    };
    const Case cases[] = {
        {"REDUCE fails once", {kTransmittingCommandFails, kTransmitting, kTransmitting},
         {"0 REDUCE", "3000 REDUCE", "9000 NORMAL"}},
        {"REDUCE fails, then a poll gets no answer", {kTransmittingCommandFails, kUnanswered, kTransmitting},
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

// Before it touches anything the program claims its running mutex. Named
// objects are per process on the simulated laptop, so the test holds the
// mutex itself, as another instance would: when Administrators own it (as
// every instance makes it), this instance ends at once and calls nothing; a
// mutex someone else made first is not trusted, and a standard user's token
// may not make one owned by Administrators: the run goes on without the named
// objects, and protects.
TEST(SupervisorLoop, RunningMutexDecidesWhetherTheRunGoesOn) {
    const Calls protects = Join({"0 InitSAR", "0 radio 1", "0 poll fresh active", "0 REDUCE"}, Shutdown(3000));
    const auto without = [](const std::string& error) {
        return "\nRunning without its named objects (error " + error +
               "): a second instance is not refused, and sar-coordinator-ctl stop cannot end this run"
               "\nMBSar::InitSAR()";
    };
    const struct {
        const char* name;
        const char* timeline;
        const wchar_t* heldWith;  // the held mutex's descriptor, "" for none; null: no mutex held
        int status;
        Calls calls;
        std::string consoleStart;
    } rows[] = {
        {"another instance", "", L"O:BA", kExitAlreadyRunning, {},
         "\nAnother instance of sar-coordinator is running: this one ends\n"},
        {"someone else's mutex", "", L"", kExitRadioOff, protects, without("183")},
        {"a standard user", "0 token user\n", nullptr, kExitRadioOff, protects,
         without("1307")},
    };
    for (const auto& row : rows) {
        sim::TheLaptop().Load(sim::ParseScenario(row.timeline, "test"));
        HANDLE held = nullptr;
        SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
        if (row.heldWith != nullptr && *row.heldWith != L'\0') {
            ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(row.heldWith, SDDL_REVISION_1,
                                                                             &attributes.lpSecurityDescriptor, nullptr));
        }
        if (row.heldWith != nullptr) held = CreateMutexW(&attributes, TRUE, L"Global\\sar-coordinator-running");
        LocalFree(attributes.lpSecurityDescriptor);
        const LoopRun run = RunWith({kTransmitting});
        if (held != nullptr) {
            ReleaseMutex(held);
            CloseHandle(held);
        }
        EXPECT_EQ(run.status, row.status) << row.name;
        EXPECT_EQ(run.calls, row.calls) << row.name;
        EXPECT_TRUE(run.console.starts_with(row.consoleStart)) << row.name << ":\n" << run.console;
    }
    sim::TheLaptop().Load({});
}

}  // namespace
