// Which timelines can end a run: only the lines of the list, not cleared or
// taken back later, and the start-up ones only at time 0. That each line of the list really ends a
// run of the program is checked by whole runs (whole_run_test.cpp).
#include <gtest/gtest.h>

#include "sim/model/run_endings.h"

namespace {

TEST(RunEndings, ATimelineCanEndARunOnlyByALineOfTheList) {
    const struct {
        const char* timeline;
        bool canEnd;
    } rows[] = {
        {"1.5 tx active\n7.5 fail CurrentRadioState 0x80070005 1\n", true},
        {"0 radio on\n5 radio off\n", true},
        {"1.5 tx active\n4.5 stop requested\n", true},
        {"0 radio off\n5 radio on\n", false},
        {"3 fail CurrentRadioState 0x80070005\n9 fail CurrentRadioState ok\n", false},
        {"0 none GetDefault\n5 none GetDefault ok\n", true},
        {"0 none GetDefault\n0 none GetDefault ok\n", false},
        {"0 radio on\n0 none GetDeviceService\n", true},
        {"", false},
        {"0 radio on\n1.5 tx active\n", false},
        {"0 fail CurrentRadioState ok\n", false},
        {"0 none GetDefault ok\n", false},
        {"5 fail GetDefault 0x80004005\n5 none DeviceInformation\n", false},
        {"0 fail GetDeviceService 0x80004005\n0 fail RoGetActivationFactory 0x800401f0 1\n", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(sim::CanEndRun(sim::ParseScenario(row.timeline, "s.txt")), row.canEnd) << row.timeline;
}

}  // namespace
