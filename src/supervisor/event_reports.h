// What the program reports to the Windows event log, and when. Each condition
// is reported once when it begins and once when it ends, never again within
// one lapse, so a laptop's log holds one event per change an administrator
// needs to know of, and an ordinary run one event in all.
#pragma once

#include <optional>

#include "firmware/exec_int.h"
#include "modem/mbsar.h"
#include "platform.h"

enum class WlanCommand { Reduce, Normal };

// Follows one run's WLAN commands and polls, and reports:
// - protection engaged: the first REDUCE of the run that took effect;
// - a WLAN command that did not take effect: the first of a run of such
//   commands, with the step that failed and its status; and the command that
//   then took effect, with its attempt and the time since the first failure
//   (a REDUCE reported so counts as protection engaged);
// - the modem not answering: at the 10th poll in a row without a fresh
//   answer, with the last failure; and the poll that answers after that, with
//   how many polls and how long, and whether the modem was made anew;
// - a request to stop.
class ProtectionEvents {
public:
    static constexpr int kUnansweredPollsReported = 10;

    // A WLAN command returned, with what became of its firmware call.
    void CommandReturned(WlanCommand command, const ExecIntOutcome& outcome);

    // A poll ended without a fresh answer from the modem, after `failure`:
    // the loop's `pollsInARow`-th such poll. `wlanReduced` is the WLAN power
    // state kept meanwhile.
    void PollUnanswered(int pollsInARow, const MBSar::PollFailure& failure, bool wlanReduced);

    // A poll got a fresh answer after `pollsWithoutAnswer` polls that got
    // none.
    void PollAnswered(int pollsWithoutAnswer);

    // The program-wide modem objects were made anew during a run of
    // unanswered polls.
    void ModemMadeAnew();

    // Someone asked the program to stop.
    void StopRequested();

private:
    struct CommandLapse {
        ULONGLONG firstFailureMs;
        unsigned attempts;
    };

    bool engagedReported_ = false;
    std::optional<CommandLapse> commandLapse_;
    ULONGLONG firstUnansweredMs_ = 0;
    bool modemMadeAnew_ = false;
};

// A failure the program cannot go on from ends the run (status 1); what()
// of the failure, or a word for it, goes with the event. Never throws: the
// failure being reported may be exhausted memory.
void ReportFatalFailure(const char* what) noexcept;
