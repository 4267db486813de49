// MBSar::InitSAR against the simulated modem: the one SAR configuration set,
// the modem's status, no session, and platform failures, each leaving the
// Windows Runtime again and nothing behind.
#include <new>

#include "modem/mbsar.h"
#include "modem_test_support.h"
#include "platform.h"
#include "sim/model/call_record.h"
#include "sim/model/clock.h"
#include "sim/surface/apartments.h"

namespace {

const char kSarConfigSet[] = "0 set 1 01000000000000000100000014000000080000000000000001000000";

ConsoleOutcome<uint32_t> Init() { return CaptureConsole(MBSar::InitSAR); }

class InitSar : public ModemTest {};

// One set, inside the multithreaded apartment, on a session that is released
// without being closed.
TEST_F(InitSar, SendsTheFixedSarConfigurationAsOneSetCommand) {
    Start("");
    sim::StartCallRecord();
    const ConsoleOutcome<uint32_t> init = Init();
    EXPECT_EQ(sim::StopCallRecord(),
              (std::vector<std::string>{"RoInitialize(1)", "OpenCommandSession() -> session 1",
                                        "SendSetCommandAsync(session 1, 1, "
                                        "01000000000000000100000014000000080000000000000001000000)",
                                        "RoUninitialize()"}));
    EXPECT_EQ(init.result, 0u);
    EXPECT_EQ(init.console, "");
    EXPECT_EQ(ModemLog(), std::vector<std::string>{kSarConfigSet});
    EXPECT_FALSE(sim::ThreadInApartment()) << "the Windows Runtime is left again";
}

TEST_F(InitSar, RejectedConfigurationGivesTheModemsStatus) {
    Start("0 status sar-config 5\n");
    const ConsoleOutcome<uint32_t> init = Init();
    EXPECT_EQ(init.result, 5u);
    EXPECT_EQ(init.console, "");
    EXPECT_EQ(ModemLog(), std::vector<std::string>{kSarConfigSet});
}

TEST_F(InitSar, NoSessionSendsNothing) {
    Start("0 session none\n");
    const ConsoleOutcome<uint32_t> init = Init();
    EXPECT_EQ(init.result, 0u);
    EXPECT_EQ(init.console, "");
    EXPECT_TRUE(ModemLog().empty());
}

// A failing platform call gives 1, prints nothing, releases what was made
// and leaves the apartment (the fixture checks the counts, apartments included).
TEST_F(InitSar, PlatformFailuresGiveOne) {
    for (const char* call : {"GetDeviceService", "SendSetCommandAsync", "GetResults", "ResponseData",
                             "CreateFromByteArray", "OpenCommandSession", "Completed", "StatusCode",
                             "CopyToByteArray"}) {
        Start(std::string("0 fail ") + call + " 0x80004005\n");
        const sim::LiveCounts before = sim::CurrentCounts();
        const ConsoleOutcome<uint32_t> init = Init();
        EXPECT_EQ(init.result, 1u) << call;
        EXPECT_EQ(init.console, "") << call;
        sim::PassMs(5);  // the answer to a command whose wait was never entered
        EXPECT_EQ(SettledCounts(before), before) << call;
        EXPECT_FALSE(sim::ThreadInApartment()) << call;
    }
}

// A thread already in a single-threaded apartment cannot enter the
// multithreaded one: the command still goes out, and the apartment that
// InitSAR did not enter is not ended by it.
TEST_F(InitSar, FailedApartmentEntryIsNotBalanced) {
    Start("");
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(Init().result, 0u);
    EXPECT_EQ(ModemLog(), std::vector<std::string>{kSarConfigSet});
    EXPECT_TRUE(sim::ThreadInApartment()) << "the caller's own apartment was ended";
    CoUninitialize();
}

// Out of memory is not InitSAR's to catch; it still leaves the apartment and
// releases everything on its way out.
TEST_F(InitSar, OutOfMemoryPassesThroughCleanly) {
    Start("0 fail SendSetCommandAsync 0x8007000E\n");
    EXPECT_THROW(MBSar::InitSAR(), std::bad_alloc);
    EXPECT_FALSE(sim::ThreadInApartment());
}

}  // namespace
