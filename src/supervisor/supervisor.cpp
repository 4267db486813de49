#include "supervisor.h"

#include <cstdio>

#include "event_reports.h"
#include "firmware/wlan_tx_power.h"
#include "modem/mbsar.h"
#include "platform.h"
#include "program_presence.h"
#include "win/debug_print.h"

namespace {

constexpr DWORD kCycleMs = 3000;
constexpr DWORD kPauseBeforeExitMs = 1000;
// After this many polls in a row without an answer, and after each further
// as many, the modem objects are made anew: the modem may have reset or
// re-attached, and the objects made before answer for the modem that was.
constexpr int kUnansweredPollsBeforeReacquiring = 10;

enum class LoopEnd { RadioOff, StopRequested };

// What the loop keeps from one cycle to the next.
struct LoopState {
    bool reduced = false;      // WLAN power as the last command that took effect left it
    int unansweredPolls = 0;   // polls in a row without a fresh answer
    ProtectionEvents events;   // what the event log has been told
};

// Each command is logged after it returns, whatever its outcome, and what
// became of it goes to the event log; the result says whether the firmware
// carried it out.
bool ReduceWlanPower(ProtectionEvents& events) {
    const ExecIntOutcome outcome = SetWLANTxState_WLANREDUCE();
    LogEvent(L"[MS_SAR] SetWLANTxState_WLANREDUCE()", "\nSetWLANTxState_WLANREDUCE()");
    events.CommandReturned(WlanCommand::Reduce, outcome);
    return outcome.executed;
}

bool RestoreWlanPower(ProtectionEvents& events) {
    const ExecIntOutcome outcome = SetWLANTxState_WLANNORMAL();
    LogEvent(L"[MS_SAR] SetWLANTxState_WLANNORMAL()", "\nSetWLANTxState_WLANNORMAL()");
    events.CommandReturned(WlanCommand::Normal, outcome);
    return outcome.executed;
}

// Brings WLAN power in line with the transmission the modem reported and
// returns whether it is now reduced. The reduced flag changes only when a
// command took effect, so a command the firmware did not carry out is sent
// again after the next fresh answer that still calls for it.
bool FollowTransmission(LoopState& loop) {
    if (TransmissionActive && !loop.reduced) return ReduceWlanPower(loop.events);
    if (!TransmissionActive && loop.reduced) return !RestoreWlanPower(loop.events);
    return loop.reduced;
}

// Makes the modem objects anew and sends the new modem the SAR configuration,
// which a modem that reset has forgotten. False when there is no modem, or
// one without a SAR device service: the modem is gone.
bool FindModemAgain() {
    try {
        if (!MBSar::ReacquireModem()) return false;
        MBSar::InitSAR();
    } catch (const MBSar::ModemUnavailable&) {
        return false;
    }
    LogEvent(L"[MS_SAR] MBSar::ReacquireModem()", "\nMBSar::ReacquireModem()");
    return true;
}

// A fresh answer ends a run of unanswered polls, and WLAN power follows it.
void ActOnFreshAnswer(LoopState& loop) {
    loop.events.PollAnswered(loop.unansweredPolls);
    loop.unansweredPolls = 0;
    loop.reduced = FollowTransmission(loop);
}

// After a poll without a fresh answer: false when the modem is gone.
bool KeepModemAfterUnansweredPoll(LoopState& loop, const MBSar::PollFailure& failure) {
    ++loop.unansweredPolls;
    loop.events.PollUnanswered(loop.unansweredPolls, failure, loop.reduced);
    if (loop.unansweredPolls % kUnansweredPollsBeforeReacquiring != 0) return true;
    if (!FindModemAgain()) return false;
    loop.events.ModemMadeAnew();
    return true;
}

// Polls while the radio is on and the modem is there, one cycle every
// 3000 ms, until the radio goes off or the program is asked to stop; the
// request ends the cycle's pause at once. Every fresh answer is acted on,
// whatever else failed in its poll; a poll without one leaves the reduced
// flag as it was and waits its cycle like any other, so a fault that comes
// before any modem I/O does not turn the loop into a busy spin. A modem that
// is gone has no radio: it ends the loop as a radio that is off does.
LoopEnd PollUntilRadioOffOrStop(LoopState& loop, const ProgramPresence& presence) {
    while (MBSar::GetRadioState() != 0) {
        if (const MBSar::PollOutcome poll = MBSar::GetTransmissionStatus(); poll.freshAnswer)
            ActOnFreshAnswer(loop);
        else if (!KeepModemAfterUnansweredPoll(loop, poll.failure))
            return LoopEnd::RadioOff;
        if (presence.StopRequestedWithin(kCycleMs)) return LoopEnd::StopRequested;
    }
    return LoopEnd::RadioOff;
}

// WLAN power back to normal, whatever it was, then the exit lines. Sent once:
// if the firmware does not carry it out, the call's console lines and the
// event log say why.
void ShutDown(LoopState& loop) {
    RestoreWlanPower(loop.events);
    Sleep(kPauseBeforeExitMs);
    LogEvent(L"[MS_SAR] Exit while loop", "\nExit while loop");
}

}  // namespace

int RunSupervisor() {
    // A second instance leaves everything to the first: no modem command, no
    // firmware call.
    ProgramPresence presence;
    if (presence.Claim() == ProgramPresence::Start::AlreadyRunning) {
        printf("\nAnother instance of sar-coordinator is running: this one ends\n");
        return kExitAlreadyRunning;
    }

    // Without a modem, or without its SAR device service, there is nothing to
    // coordinate: WLAN power is left as it is (normal, since nothing here ever
    // reduced it).
    try {
        MBSar::RequireModem();
        MBSar::InitSAR();
    } catch (const MBSar::ModemUnavailable& unavailable) {
        printf("\n%s\n", unavailable.what());
        return kExitModemMissing;
    }
    LogEvent(L"[MS_SAR] MBSar::InitSAR()", "\nMBSar::InitSAR()");

    // Asked to stop, the program ends as it does at radio off.
    LoopState loop;
    if (PollUntilRadioOffOrStop(loop, presence) == LoopEnd::StopRequested) {
        LogEvent(L"[MS_SAR] Stop requested", "\nStop requested");
        loop.events.StopRequested();
    } else {
        LogEvent(L"[MS_SAR]  MBSar::GetRadioState()  Off", "\nMBSar::GetRadioState()  Off");
    }
    ShutDown(loop);
    return kExitRadioOff;
}
