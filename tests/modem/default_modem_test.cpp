// The program-wide modem objects and the verdict DefaultModem::Unavailable
// gives: made without sending anything, and a clear line when there is no
// modem.
#include <new>

#include "default_modem.h"
#include "modem/mbsar.h"
#include "modem_test_support.h"

namespace {

class DefaultModemStartUp : public ModemTest {};

TEST_F(DefaultModemStartUp, ProgramWideModemIsReady) {
    EXPECT_NO_THROW(MBSar::RequireModem());
    EXPECT_NE(TheDefaultModem().modem(), nullptr);
    EXPECT_NE(TheDefaultModem().deviceInformation(), nullptr);
}

TEST_F(DefaultModemStartUp, WorkingModemSendsNoCommand) {
    Start("");
    const DefaultModem modem;
    EXPECT_EQ(modem.Unavailable(), "");
    EXPECT_NE(modem.modem(), nullptr);
    EXPECT_NE(modem.deviceInformation(), nullptr);
    EXPECT_TRUE(ModemLog().empty());
}

TEST_F(DefaultModemStartUp, SaysWhyTheModemCannotBeUsed) {
    const struct {
        const char* scenario;
        const char* verdict;
    } cases[] = {
        {"0 modem absent\n", "No mobile broadband modem found: the system reports none"},
        {"0 fail GetDefault 0x80070005\n",
         "No mobile broadband modem found: 0x80070005 - GetDefault failed on the simulated laptop"},
        {"0 fail DeviceInformation 0x8000FFFF\n",
         "No mobile broadband modem found: its device information cannot be read: 0x8000ffff - "
         "DeviceInformation failed on the simulated laptop"},
        // The SAR device service is not asked for here: InitSAR is the first to.
        {"0 fail GetDeviceService 0x80070490\n", ""},
    };
    for (const auto& start : cases) {
        Start(start.scenario);
        const DefaultModem modem;
        EXPECT_EQ(modem.Unavailable(), start.verdict);
        EXPECT_TRUE(ModemLog().empty());
    }
}

TEST_F(DefaultModemStartUp, NoModemMeansNoObjectToCall) {
    Start("0 modem absent\n");
    const DefaultModem modem;
    EXPECT_EQ(modem.modem(), nullptr);
    EXPECT_EQ(modem.deviceInformation(), nullptr);
}

// Static initialization must not throw: the allocation failure is kept and
// raised when the entry point asks, where it is reported.
TEST_F(DefaultModemStartUp, OutOfMemoryIsRaisedWhenAsked) {
    for (const char* scenario : {"0 fail GetDefault 0x8007000E\n", "0 fail DeviceInformation 0x8007000E\n"}) {
        Start(scenario);
        const DefaultModem modem;
        EXPECT_THROW(modem.Unavailable(), std::bad_alloc) << scenario;
    }
}

}  // namespace
