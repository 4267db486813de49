// The laptop's state over virtual time, as the laptop and its exposure report
// see it, and faults and statuses that hold for a limited number of uses.
#include <gtest/gtest.h>

#include <algorithm>

#include "sim/model/clock.h"
#include "sim/model/laptop.h"
#include "sim/model/report/exposure.h"

namespace {

void Start(const char* text) {
    sim::RestartVirtualClock();
    sim::TheLaptop().Load(sim::ParseScenario(text, "test"));
}

TEST(Laptop, StateFollowsTheTimelineInFileOrder) {
    Start("0 tx active\n0 tx inactive\n2 tx active\n2.5 radio off\n");
    EXPECT_FALSE(sim::TheLaptop().Now().transmissionActive) << "later lines at the same time win";
    sim::PassMs(1999);
    EXPECT_FALSE(sim::TheLaptop().Now().transmissionActive);
    sim::PassMs(1);
    EXPECT_TRUE(sim::TheLaptop().Now().transmissionActive);
    EXPECT_TRUE(sim::TheLaptop().Now().radioOn);
    sim::PassMs(500);
    EXPECT_FALSE(sim::TheLaptop().Now().radioOn);
}

bool Contains(const sim::Intervals& set, uint64_t ms) {
    return std::any_of(set.begin(), set.end(), [ms](const sim::Interval& i) { return i.startMs <= ms && ms < i.endMs; });
}

// The exposure report traces the radio and the transmission through the
// laptop's own timeline: at every millisecond of a run it sees the state the
// laptop is in. Each timeline is loaded after the one before, which leaves the
// radio off: a laptop that kept it would disagree from the first moment.
TEST(Laptop, ExposureReportSeesTheStateTheLaptopIsInAtEveryMoment) {
    const char* const timelines[] = {
        "0 radio off\n",
        "1 tx active\n2 tx cycle 0.7 0.3\n3.5 radio off\n4 radio on\n6.2 tx cycle 0.25 1\n8 tx inactive\n",
        "0 tx cycle 1 1\n0 tx inactive\n5 tx cycle 0.001 0.002\n6 radio off\n6.5 radio on\n7 tx active\n",
    };
    for (const char* text : timelines) {
        Start(text);
        const sim::RunRecord record{9000, sim::ParseScenario(text, "test"), {}, {}};
        const sim::RunIntervals intervals = sim::DeriveIntervals(record);
        uint64_t ms = 0;
        for (; ms < record.runMs; sim::PassMs(1), ++ms) {
            const sim::LaptopState state = sim::TheLaptop().Now();
            if (Contains(intervals.radioOn, ms) != state.radioOn ||
                Contains(intervals.transmitting, ms) != (state.radioOn && state.transmissionActive))
                break;
        }
        EXPECT_EQ(ms, record.runMs) << "the report and the laptop disagree at " << ms << " ms of\n" << text;
    }
}

TEST(Laptop, CountedFaultsAndStatusesWearOffAndEachFiredFaultTakesAMillisecond) {
    Start("0 fail ExecMethod 0x80041002 2\n0 status tx-query 9 1\n0 fail Put 0x80041005\n0 none GetObject 1\n");
    EXPECT_EQ(sim::TheLaptop().TakeFault("ExecMethod"), static_cast<int32_t>(0x80041002));
    EXPECT_EQ(sim::TheLaptop().TakeFault("ExecMethod"), static_cast<int32_t>(0x80041002));
    EXPECT_EQ(sim::NowMs(), 2u);
    EXPECT_EQ(sim::TheLaptop().TakeFault("ExecMethod"), 0);
    EXPECT_EQ(sim::NowMs(), 2u) << "a call that does not fail takes no time";
    EXPECT_EQ(sim::TheLaptop().TakeStatus("tx-query"), 9u);
    EXPECT_EQ(sim::TheLaptop().TakeStatus("tx-query"), 0u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(sim::TheLaptop().TakeFault("Put"), static_cast<int32_t>(0x80041005));
    EXPECT_EQ(sim::NowMs(), 7u);
    EXPECT_TRUE(sim::TheLaptop().TakeMissingObject("GetObject"));
    EXPECT_EQ(sim::NowMs(), 8u) << "a missing object takes a millisecond too";
    EXPECT_FALSE(sim::TheLaptop().TakeMissingObject("GetObject"));
    EXPECT_EQ(sim::NowMs(), 8u);
}

TEST(Laptop, TransmissionCycleSwitchesByItselfUntilTheNextTxEvent) {
    Start("0 tx active\n1 tx cycle 2 0.5\n9 tx inactive\n");
    const auto activeAt = [](uint64_t ms) {
        sim::PassMs(ms - sim::NowMs());
        return sim::TheLaptop().Now().transmissionActive;
    };
    EXPECT_TRUE(activeAt(999));
    EXPECT_TRUE(activeAt(1000));
    EXPECT_TRUE(activeAt(2999));
    EXPECT_FALSE(activeAt(3000));
    EXPECT_FALSE(activeAt(3499));
    EXPECT_TRUE(activeAt(3500));
    EXPECT_FALSE(activeAt(8499)) << "the fourth idle half-second";
    EXPECT_TRUE(activeAt(8500));
    EXPECT_FALSE(activeAt(9000)) << "a plain tx event ends the cycle";
    EXPECT_FALSE(activeAt(9800));
}

TEST(Laptop, FailOkClearsAFault) {
    Start("0 fail GetResults 0x80004005\n1 fail GetResults ok\n");
    EXPECT_NE(sim::TheLaptop().TakeFault("GetResults"), 0);
    sim::PassMs(1000);
    EXPECT_EQ(sim::TheLaptop().TakeFault("GetResults"), 0);
}

}  // namespace
