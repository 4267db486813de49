// The SAR exposure report computed from a run's record, held to values worked
// out by hand for a few timelines.
#include <gtest/gtest.h>

#include "sim/model/report/exposure.h"
#include "sim/model/report/exposure_json.h"

namespace sim {

void PrintTo(const ExposureReport& report, std::ostream* out) { *out << ExposureJson(report); }

}  // namespace sim

namespace {

using sim::ExposureReport;
using sim::ExposureSpan;
using sim::WlanSelection;

constexpr WlanSelection kReduce = WlanSelection::Reduced;
constexpr WlanSelection kNormal = WlanSelection::Normal;
constexpr WlanSelection kOther = WlanSelection::None;

struct Case {
    const char* name;
    const char* timeline;
    std::vector<std::pair<uint64_t, WlanSelection>> executions;
    uint64_t runMs;
    ExposureReport expected;
};

ExposureReport ReportOf(const Case& c) {
    sim::RunRecord record;
    record.runMs = c.runMs;
    record.timeline = sim::ParseScenario(c.timeline, c.name);
    for (const auto& [atMs, selected] : c.executions) record.executions.push_back({atMs, {}, selected});
    return sim::ComputeExposure(record, sim::DeriveIntervals(record));
}

const Case kCases[] = {
    {"the built-in run: reduced 2035 ms into the span, restored 2065 ms after it; the run is shorter than "
     "every window, so each counts all of it",
     "0 radio on\n4 tx active\n13 tx inactive\n19 radio off\n",
     {{6035, kReduce}, {15065, kNormal}, {21075, kNormal}},
     22075,
     {22075, 9000, 2035, 2065, {{4000, 13000, 6035, 2035}}, 2035, {2035, 2035, 2035}}},

    {"radio off ends a span and radio on with tx still active starts one; reduced before a span starts; "
     "a NORMAL inside a span; a span never reduced; windows that each find a different worst stretch",
     "0 radio on\n10 tx active\n20 radio off\n25 radio on\n50 tx inactive\n70 tx active\n100 tx inactive\n"
     "130 radio off\n",
     {{12000, kReduce}, {22000, kNormal}, {24000, kReduce}, {30000, kNormal}, {60000, kOther}, {130000, kNormal}},
     131000,
     {131000,
      65000,
      2000 + 20000 + 30000,
      2000 + 1000,
      {{10000, 20000, 12000, 2000}, {25000, 50000, 25000, 20000}, {70000, 100000, std::nullopt, 30000}},
      30000,
      // 30 s: the third span; 60 s: 40..100 s, the second's last 10 s and the
      // third; 100 s: 0..100 s, all three.
      {30000, 40000, 52000}}},

    {"tx active only while the radio is off: no span; WLAN reduced for nothing",
     "0 radio off\n1 tx active\n5 tx inactive\n",
     {{2000, kReduce}, {3000, kNormal}},
     6000,
     {6000, 0, 0, 1000, {}, 0, {0, 0, 0}}},

    {"tx inactive and active again at the same moment continue the span, which is still open at exit; "
     "a REDUCE at its very start leaves nothing unprotected",
     "2 tx active\n4 tx inactive\n4 tx active\n9 tx inactive\n",
     {{2000, kReduce}},
     6000,
     {6000, 4000, 0, 0, {{2000, 6000, 2000, 0}}, 0, {0, 0, 0}}},

    {"a transmission cycle (2 s on, 3 s off from 1 s) makes the spans; the radio going off cuts the third",
     "0 radio on\n1 tx cycle 2 3\n12 radio off\n14 tx inactive\n",
     {{2000, kReduce}, {4000, kNormal}},
     15000,
     {15000,
      2000 + 2000 + 1000,
      1000 + 2000 + 1000,
      1000,
      {{1000, 3000, 2000, 1000}, {6000, 8000, std::nullopt, 2000}, {11000, 12000, std::nullopt, 1000}},
      2000,
      {4000, 4000, 4000}}},
};

TEST(Exposure, HandComputedTimelines) {
    for (const Case& c : kCases) EXPECT_EQ(ReportOf(c), c.expected) << c.name;
}

}  // namespace
