// The laptop's state over virtual time, and faults and statuses that hold for
// a limited number of uses.
#include <gtest/gtest.h>

#include "sim/model/clock.h"
#include "sim/model/laptop.h"

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

TEST(Laptop, InitialStateIsAWorkingLaptop) {
    Start("");
    const sim::LaptopState state = sim::TheLaptop().Now();
    EXPECT_TRUE(state.modemPresent);
    EXPECT_TRUE(state.radioOn);
    EXPECT_FALSE(state.transmissionActive);
    EXPECT_TRUE(state.sessionAvailable);
    EXPECT_EQ(state.latencyMs, 5u);
    EXPECT_FALSE(state.replyLength.has_value());
    EXPECT_EQ(state.firmwareInstances, 1u);
    EXPECT_EQ(sim::TheLaptop().TakeFault("ExecMethod"), 0);
    EXPECT_EQ(sim::TheLaptop().TakeStatus("tx-set"), 0u);
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
