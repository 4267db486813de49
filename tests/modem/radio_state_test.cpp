// MBSar::GetRadioState against the simulated modem.
#include <new>

#include "modem/mbsar.h"
#include "modem_test_support.h"
#include "sim/model/clock.h"

namespace {

class RadioState : public ModemTest {};

TEST_F(RadioState, ReadsTheRadioAfreshEachTime) {
    Start("0 radio on\n3 radio off\n");
    EXPECT_EQ(MBSar::GetRadioState(), 1);
    sim::PassMs(2999);
    EXPECT_EQ(MBSar::GetRadioState(), 1);
    sim::PassMs(1);
    EXPECT_EQ(MBSar::GetRadioState(), 0);
}

TEST_F(RadioState, FailedReadCountsAsOffSilently) {
    Start("0 radio on\n0 fail CurrentRadioState 0x80004005 1\n");
    testing::internal::CaptureStdout();
    EXPECT_EQ(MBSar::GetRadioState(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(MBSar::GetRadioState(), 1);
}

TEST_F(RadioState, OutOfMemoryIsNotTakenForRadioOff) {
    Start("0 fail CurrentRadioState 0x8007000E 1\n");
    EXPECT_THROW(MBSar::GetRadioState(), std::bad_alloc);
}

}  // namespace
