// The fault sweep: every fault point of the simulator's list, injected into a
// whole run of the program with a failing status, E_OUTOFMEMORY and (where
// the call takes one) a positive status, as a missing object where the call
// hands one out, and as an operation that never completes where it can hang; once and for good; at start-up, while polling idle,
// while REDUCED and during a firmware call. Whatever the fault, a run ends,
// with a documented status, without a sanitizer finding and with nothing
// left over; its console starts with a line break and stays short, since a
// failed poll waits its cycle like any other; and a run that ends with
// the radio off has restored WLAN power, unless the fault itself kept the
// firmware call from working for good.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <mutex>
#include <set>
#include <thread>

#include "program_run.h"
#include "sim/model/fault_points.h"

namespace {

constexpr char kNormal[] = "ExecINT 38448 160 1 1 0 0";

// Radio on, transmitting from 2 s to 5 s, radio off at 7 s: the loop polls
// idle, reduces at its second poll, restores at its third and sees the radio
// off at its fourth.
const std::vector<std::pair<uint64_t, std::string>> kTimeline = {
    {0, "radio on"}, {2000, "tx active"}, {5000, "tx inactive"}, {7000, "radio off"}};

// Calls whose failure is an allocation failure, which may end the program
// with status 1 wherever it strikes.
const std::set<std::string_view> kAllocations = {"HeapAlloc", "CoTaskMemAlloc", "SysAllocString",
                                                 "WindowsCreateString"};

// The sanitizers report with their own exit status, never one of the program's.
// The undisturbed run writes about 80 console lines; a loop that polled
// without pausing after a failure would write thousands before 7 s.
constexpr size_t kMostConsoleLines = 300;

const std::string kSanitizerOptions =
    "ASAN_OPTIONS=exitcode=86:detect_leaks=1 UBSAN_OPTIONS=exitcode=86:print_stacktrace=1";

struct Moment {
    const char* name;
    uint64_t atMs;
};

struct SweepCase {
    const sim::FaultPoint* point;
    std::string event;  // "fail NAME 0x...", "none NAME" or "hang NAME", with COUNT when limited
    bool outOfMemory;
    bool unlimited;
    Moment moment;

    std::string Scenario() const {
        std::vector<std::pair<uint64_t, std::string>> lines = kTimeline;
        lines.emplace_back(moment.atMs, event);
        std::stable_sort(lines.begin(), lines.end(),
                         [](const auto& a, const auto& b) { return a.first < b.first; });
        std::string text;
        for (const auto& [ms, line] : lines) {
            char time[32];
            std::snprintf(time, sizeof time, "%llu.%03llu ", static_cast<unsigned long long>(ms / 1000),
                          static_cast<unsigned long long>(ms % 1000));
            text += time + line + "\n";
        }
        return text;
    }
};

std::vector<SweepCase> AllCases(const std::vector<Moment>& moments) {
    std::vector<SweepCase> cases;
    for (const sim::FaultPoint& point : sim::kFaultPoints) {
        const std::string name(point.name);
        std::vector<std::pair<std::string, bool>> faults = {{"fail " + name + " 0x80004005", false},
                                                            {"fail " + name + " 0x8007000e", true}};
        if (point.takesPositiveStatus) faults.push_back({"fail " + name + " 0x1", false});
        if (point.handsOutObject) faults.push_back({"none " + name, false});
        if (point.canHang) faults.push_back({"hang " + name, false});
        for (const auto& [fault, outOfMemory] : faults)
            for (const bool unlimited : {false, true})
                for (const Moment& moment : moments)
                    cases.push_back({&point, unlimited ? fault : fault + " 1",
                                     outOfMemory || kAllocations.contains(point.name), unlimited, moment});
    }
    return cases;
}

// What is wrong with a run, empty when nothing is.
std::string Violation(const SweepCase& sweepCase, const ProgramRun& run) {
    const std::string& debugger = run.debugger;
    if (debugger.find("Sanitizer") != std::string::npos || debugger.find("runtime error") != std::string::npos)
        return "sanitizer finding:\n" + debugger.substr(0, 2000);
    const bool atStartUp = sweepCase.moment.atMs == 0;
    const bool documented = run.exitStatus == 0 || (run.exitStatus == 3 && atStartUp) ||
                            (run.exitStatus == 1 && sweepCase.outOfMemory);
    if (!documented) {
        const size_t tail = debugger.size() > 600 ? debugger.size() - 600 : 0;
        return "exit status " + std::to_string(run.exitStatus) + "; standard error ends:\n" + debugger.substr(tail);
    }
    if (!run.console.starts_with("\n")) return "the console does not start with a line break";
    const auto lines = static_cast<size_t>(std::count(run.console.begin(), run.console.end(), '\n'));
    if (lines > kMostConsoleLines)
        return std::to_string(lines) + " console lines: the polls did not wait their cycle";
    if (run.exitStatus != 0) return {};
    if (!run.console.ends_with("\nExit while loop")) return "the console does not end with the exit line";
    const bool firmwareBlockedForGood = sweepCase.point->part == sim::FaultPart::Firmware && sweepCase.unlimited;
    const bool restored = !run.firmwareLog.empty() && run.firmwareLog.back().ends_with(kNormal);
    if (!restored && !firmwareBlockedForGood)
        return "WLAN power was not restored: last firmware record '" +
               (run.firmwareLog.empty() ? std::string() : run.firmwareLog.back()) + "'";
    return {};
}

TEST(FaultSweep, EveryFaultPointAtEveryMomentEndsWithADocumentedStatus) {
    // The first firmware call (the REDUCE after transmission starts) of the
    // undisturbed run is the moment "during a firmware call".
    std::string timeline;
    for (const auto& [ms, line] : kTimeline) timeline += std::to_string(ms / 1000) + " " + line + "\n";
    const ProgramRun undisturbed = RunProgram(timeline, kSanitizerOptions);
    ASSERT_EQ(undisturbed.exitStatus, 0) << undisturbed.debugger;
    ASSERT_EQ(undisturbed.firmwareLog.size(), 3u);
    const uint64_t firstFirmwareCallMs = std::stoull(undisturbed.firmwareLog.front());

    const std::vector<Moment> moments = {
        {"start-up", 0}, {"polling idle", 1500}, {"REDUCED", 4500}, {"firmware call", firstFirmwareCallMs}};
    const std::vector<SweepCase> cases = AllCases(moments);

    std::atomic<size_t> next{0};
    std::atomic<size_t> passed{0};
    std::mutex failuresMutex;
    std::vector<std::string> failures;
    const auto work = [&] {
        for (size_t index; (index = next++) < cases.size();) {
            const SweepCase& sweepCase = cases[index];
            const std::string violation =
                Violation(sweepCase, RunProgram(sweepCase.Scenario(), kSanitizerOptions, 30));
            if (violation.empty()) {
                ++passed;
                continue;
            }
            std::lock_guard lock(failuresMutex);
            failures.push_back(sweepCase.event + " at " + sweepCase.moment.name + ": " + violation);
        }
    };
    std::vector<std::thread> workers;
    for (unsigned i = 0; i < std::max(2u, std::thread::hardware_concurrency()); ++i) workers.emplace_back(work);
    for (std::thread& worker : workers) worker.join();

    std::printf("%zu runs, %zu passed\n", cases.size(), passed.load());
    constexpr size_t kShownFailures = 20;
    for (size_t i = 0; i < std::min(failures.size(), kShownFailures); ++i) ADD_FAILURE() << failures[i];
    EXPECT_EQ(passed.load(), cases.size());
}

}  // namespace
