// The transmission status poll against the simulated modem: the five rows of
// its result table, reply lengths, the settings the modem reports, the
// failures it catches, and commands that do not complete in time.
#include <algorithm>
#include <memory>
#include <stdexcept>

#include "async_wait.h"
#include "modem/mbsar.h"
#include "modem_test_support.h"
#include "sim/model/call_record.h"
#include "sim/model/clock.h"
#include "sim/model/modem/sar_device.h"
#include "transmission_record.h"

namespace MBSar {
void PrintTo(const PollOutcome& outcome, std::ostream* out) {
    *out << "{fresh " << outcome.freshAnswer << ", kind " << static_cast<int>(outcome.failure.kind) << ", code 0x"
         << std::hex << outcome.failure.code << "}";
}
}  // namespace MBSar

namespace {

using Kind = MBSar::PollFailure::Kind;

MBSar::PollOutcome Fresh(Kind kind = Kind::None, uint32_t code = 0) { return {true, {kind, code}}; }
MBSar::PollOutcome NotFresh(Kind kind, uint32_t code = 0) { return {false, {kind, code}}; }
uint32_t Code(HRESULT code) { return static_cast<uint32_t>(code); }

const std::string kFailed = "\nset transmission status failed\n";
const std::string kCaught = "\naccess violation occured\n";

ConsoleOutcome<MBSar::PollOutcome> Poll() { return CaptureConsole(MBSar::GetTransmissionStatus); }

class TransmissionStatusPoll : public ModemTest {};

// The set and the query go out on a session each; each session is closed
// after its command was answered.
TEST_F(TransmissionStatusPoll, SetsThenQueriesWithTheFixedPayloads) {
    Start("0 tx active\n");
    TransmissionActive = false;
    sim::StartCallRecord();
    const ConsoleOutcome<MBSar::PollOutcome> poll = Poll();
    EXPECT_EQ(sim::StopCallRecord(),
              (std::vector<std::string>{"OpenCommandSession() -> session 1",
                                        "SendSetCommandAsync(session 1, 2, 0100000001000000)",
                                        "CloseSession(session 1)", "OpenCommandSession() -> session 2",
                                        "SendQueryCommandAsync(session 2, 2, 0000000000000000)",
                                        "CloseSession(session 2)"}));
    EXPECT_EQ(poll.result, Fresh());
    EXPECT_EQ(poll.console, Report("enabled", 1, "active") + Report("enabled", 1, "active"));
    EXPECT_TRUE(TransmissionActive);
    EXPECT_EQ(ModemLog(), (std::vector<std::string>{"0 set 2 0100000001000000", "5 query 2 0000000000000000"}));
}

TEST_F(TransmissionStatusPoll, InactiveModemClearsTheFlag) {
    Start("0 tx inactive\n");
    TransmissionActive = true;
    const ConsoleOutcome<MBSar::PollOutcome> poll = Poll();
    EXPECT_EQ(poll.result, Fresh());
    EXPECT_EQ(poll.console, Report("enabled", 1, "inactive") + Report("enabled", 1, "inactive"));
    EXPECT_FALSE(TransmissionActive);
}

TEST_F(TransmissionStatusPoll, NoSessionAtTheFirstOpenSendsAndPrintsNothing) {
    Start("0 session none\n0 tx active\n");
    for (const bool previous : {false, true}) {
        TransmissionActive = previous;
        const ConsoleOutcome<MBSar::PollOutcome> poll = Poll();
        EXPECT_EQ(poll.result, NotFresh(Kind::NoSession));
        EXPECT_EQ(poll.console, "");
        EXPECT_EQ(TransmissionActive, previous);
    }
    EXPECT_TRUE(ModemLog().empty());
}

// After a rejected set its session is only released, not closed.
TEST_F(TransmissionStatusPoll, RejectedSetStillActsOnTheQuery) {
    Start("0 status tx-set 7 1\n0 tx active\n");
    TransmissionActive = false;
    sim::StartCallRecord();
    const ConsoleOutcome<MBSar::PollOutcome> poll = Poll();
    EXPECT_EQ(sim::StopCallRecord(),
              (std::vector<std::string>{"OpenCommandSession() -> session 1",
                                        "SendSetCommandAsync(session 1, 2, 0100000001000000)",
                                        "OpenCommandSession() -> session 2",
                                        "SendQueryCommandAsync(session 2, 2, 0000000000000000)",
                                        "CloseSession(session 2)"}));
    EXPECT_EQ(poll.result, Fresh(Kind::SetRejected, 7)) << "a fresh answer, whatever happened to the set";
    // The modem never took a set, so it reports its settings as they came.
    EXPECT_EQ(poll.console, kFailed + Report("disabled", 0, "active"));
    EXPECT_TRUE(TransmissionActive);
    EXPECT_EQ(ModemLog().size(), 2u) << "the query goes out after a rejected set";
}

TEST_F(TransmissionStatusPoll, RejectedQueryLeavesTheFlag) {
    Start("0 status tx-query 9\n0 tx inactive\n");
    TransmissionActive = true;
    const ConsoleOutcome<MBSar::PollOutcome> poll = Poll();
    EXPECT_EQ(poll.result, NotFresh(Kind::QueryRejected, 9));
    EXPECT_EQ(poll.console, Report("enabled", 1, "inactive") + kFailed);
    EXPECT_TRUE(TransmissionActive);
}

TEST_F(TransmissionStatusPoll, BothRejectedGivesTheQueryStatus) {
    Start("0 status tx-set 7\n0 status tx-query 9\n0 tx active\n");
    TransmissionActive = false;
    const ConsoleOutcome<MBSar::PollOutcome> poll = Poll();
    EXPECT_EQ(poll.result, NotFresh(Kind::QueryRejected, 9)) << "the last failure";
    EXPECT_EQ(poll.console, kFailed + kFailed);
    EXPECT_FALSE(TransmissionActive);
}

// The modem reports the settings last set; another client left notification
// off and the timer at 0xFFFFFFFF, and this poll's own set is rejected.
TEST_F(TransmissionStatusPoll, ReportsTheModemsSettingsAsTheyAre) {
    Start("0 tx active\n0.005 status tx-set 7 1\n");
    const uint8_t otherClientsSet[] = {0x00, 0x00, 0x00, 0x00, 0xff, 0xff, 0xff, 0xff};
    ASSERT_EQ(sim::ReceiveSarCommand(true, 2, otherClientsSet).status, 0u);
    sim::PassMs(5);
    const ConsoleOutcome<MBSar::PollOutcome> poll = Poll();
    EXPECT_EQ(poll.result, Fresh(Kind::SetRejected, 7));
    EXPECT_EQ(poll.console, kFailed + Report("disabled", -1, "active"));
}

TEST_F(TransmissionStatusPoll, ElevenByteReplyEndsThePollBeforeTheQuery) {
    Start("0 reply-length 11\n0 tx active\n");
    TransmissionActive = false;
    const ConsoleOutcome<MBSar::PollOutcome> poll = Poll();
    EXPECT_EQ(poll.result, NotFresh(Kind::ShortReply, 11));
    EXPECT_EQ(poll.console, kCaught);
    EXPECT_FALSE(TransmissionActive);
    EXPECT_EQ(ModemLog(), (std::vector<std::string>{"0 set 2 0100000001000000"}));
}

TEST_F(TransmissionStatusPoll, TwelveAndFortyByteRepliesAreParsedFromTheirStart) {
    for (const char* scenario : {"0 reply-length 12\n0 tx active\n", "0 reply-length 40\n0 tx active\n"}) {
        Start(scenario);
        TransmissionActive = false;
        const ConsoleOutcome<MBSar::PollOutcome> poll = Poll();
        EXPECT_EQ(poll.result, Fresh()) << scenario;
        EXPECT_EQ(poll.console, Report("enabled", 1, "active") + Report("enabled", 1, "active")) << scenario;
        EXPECT_TRUE(TransmissionActive) << scenario;
    }
}

TEST_F(TransmissionStatusPoll, MissingSecondSessionIsACaughtFailure) {
    Start("0 latency 10\n0 tx active\n0.01 session none\n");
    TransmissionActive = false;
    const ConsoleOutcome<MBSar::PollOutcome> poll = Poll();
    EXPECT_EQ(poll.result, NotFresh(Kind::Platform, Code(E_POINTER)));
    EXPECT_EQ(poll.console, Report("enabled", 1, "active") + kCaught);
    EXPECT_FALSE(TransmissionActive);
    EXPECT_EQ(ModemLog().size(), 1u);
}

// Every platform failure ends the call at once: no fresh answer, the failure
// text, the flag untouched, and everything released.
TEST_F(TransmissionStatusPoll, PlatformFailuresAreCaught) {
    const struct {
        const char* scenario;
        uint32_t code;
        std::string console;
    } cases[] = {
        {"0 fail GetDeviceService 0x80070490\n", 0x80070490u, kCaught},
        {"0 fail CreateFromByteArray 0x80004005\n", 0x80004005u, kCaught},
        {"0 fail OpenCommandSession 0x80070005\n", 0x80070005u, kCaught},
        {"0 fail SendSetCommandAsync 0x80004005\n", 0x80004005u, kCaught},
        {"0 fail Completed 0x80004005\n", 0x80004005u, kCaught},
        {"0 fail GetResults 0x80004005 1\n", 0x80004005u, kCaught},
        {"0 fail ResponseData 0x80004005 1\n", 0x80004005u, kCaught},
        {"0 fail StatusCode 0x80004005 1\n", 0x80004005u, kCaught},
        {"0 fail CopyToByteArray 0x80004005 1\n", 0x80004005u, kCaught},
        {"0 fail CloseSession 0x80004005 1\n", 0x80004005u, Report("enabled", 1, "active") + kCaught},
        {"0 fail SendQueryCommandAsync 0x80004005\n", 0x80004005u, Report("enabled", 1, "active") + kCaught},
        {"0 fail GetResults 0x8007000E 1\n", 0x8007000Eu, kCaught},  // out of memory is caught here too
    };
    for (const auto& failure : cases) {
        Start(std::string(failure.scenario) + "0 tx active\n");
        TransmissionActive = false;
        const sim::LiveCounts before = sim::CurrentCounts();
        const ConsoleOutcome<MBSar::PollOutcome> poll = Poll();
        EXPECT_EQ(poll.result, NotFresh(Kind::Platform, failure.code)) << failure.scenario;
        EXPECT_EQ(poll.console, failure.console) << failure.scenario;
        EXPECT_FALSE(TransmissionActive) << failure.scenario;
        sim::PassMs(5);  // the answer to a command whose wait was never entered
        EXPECT_EQ(SettledCounts(before), before) << failure.scenario;
    }
}

// A failure after the query was answered keeps the answer: the close of the
// query's session fails, yet the modem's answer is fresh.
TEST_F(TransmissionStatusPoll, FailureAfterTheAnswerKeepsIt) {
    Start("0 tx active\n0.01 fail CloseSession 0x80004005 1\n");
    TransmissionActive = false;
    const ConsoleOutcome<MBSar::PollOutcome> poll = Poll();
    EXPECT_EQ(poll.result, Fresh(Kind::Platform, 0x80004005u));
    EXPECT_EQ(poll.console, Report("enabled", 1, "active") + Report("enabled", 1, "active") + kCaught);
    EXPECT_TRUE(TransmissionActive);
}

// A command that does not complete within 10 s ends the poll as a failure;
// the operation, cancelled, completes 1 ms later, which is harmless.
TEST_F(TransmissionStatusPoll, CommandsThatDoNotCompleteInTimeEndThePoll) {
    const struct {
        const char* scenario;
        std::string console;
        uint64_t endsAtMs;
    } cases[] = {
        {"0 hang SendSetCommandAsync 1\n", kCaught, kCommandWaitMs},
        {"0 hang SendQueryCommandAsync 1\n", Report("enabled", 1, "active") + kCaught, 5 + kCommandWaitMs},
        {"0 latency 3600000\n0.001 latency 5\n", kCaught, kCommandWaitMs},
    };
    for (const auto& stall : cases) {
        Start(std::string("0 tx active\n") + stall.scenario);
        TransmissionActive = false;
        const sim::LiveCounts before = sim::CurrentCounts();
        const ConsoleOutcome<MBSar::PollOutcome> poll = Poll();
        EXPECT_EQ(poll.result, NotFresh(Kind::TimedOut, Code(kCommandTimedOut))) << stall.scenario;
        EXPECT_EQ(poll.console, stall.console) << stall.scenario;
        EXPECT_EQ(sim::NowMs(), stall.endsAtMs) << stall.scenario;
        EXPECT_FALSE(TransmissionActive) << stall.scenario;
        sim::PassMs(1);
        EXPECT_EQ(SettledCounts(before), before) << stall.scenario << ": the late completion left something";
        EXPECT_EQ(Poll().result, Fresh()) << stall.scenario << ": the next poll works";
    }
}

// The record as the poll reads it from a reply, byte by byte.
TEST(TransmissionStatusRecord, ReadsTheFirstTwelveBytesLittleEndian) {
    const uint8_t reply[] = {0x00, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0xff, 0xff, 0xff, 0xff, 0x01, 0x01};
    const TransmissionStatusRecord record = ReadTransmissionStatus(reply, sizeof reply);
    EXPECT_EQ(record.channelNotification, 0u);
    EXPECT_EQ(record.transmissionStatus, 2u);
    EXPECT_EQ(record.hysteresisTimer, 0xFFFFFFFFu);
    EXPECT_FALSE(record.Active()) << "only status 1 is active";

    testing::internal::CaptureStdout();
    PrintTransmissionStatus(record);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), Report("disabled", -1, "inactive"));
}

// Every index is tested against the reply's length before it is read, so a
// reply one byte short is refused without reading past its end.
TEST(TransmissionStatusRecord, ShortReplyIsOutOfRange) {
    const uint8_t reply[12] = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    EXPECT_TRUE(ReadTransmissionStatus(reply, 12).Active());
    const auto heapReply = std::make_unique<uint8_t[]>(11);  // under ASan, a read past it is a finding
    std::copy(reply, reply + 11, heapReply.get());
    EXPECT_THROW(ReadTransmissionStatus(heapReply.get(), 11), std::out_of_range);
    EXPECT_THROW(ReadTransmissionStatus(nullptr, 0), std::out_of_range);
}

}  // namespace
