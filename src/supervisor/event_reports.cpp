#include "event_reports.h"

#include <cwchar>
#include <string>

#include "firmware/step_not_run.h"
#include "sar-coordinator-events.h"
#include "win/event_log.h"
#include "win/text.h"

namespace {

std::wstring CommandName(WlanCommand command) { return command == WlanCommand::Reduce ? L"REDUCE" : L"NORMAL"; }

// A status as the console shows it: 0x and lowercase hexadecimal.
std::wstring StatusText(HRESULT status) {
    if (status == kStepNotRun) return L"none (not run: an earlier step handed it nothing to work on)";
    wchar_t text[16];
    std::swprintf(text, sizeof text / sizeof *text, L"0x%x", static_cast<unsigned>(status));
    return text;
}

// A poll's failure as the administrator reads it.
std::wstring FailureText(const MBSar::PollFailure& failure) {
    using Kind = MBSar::PollFailure::Kind;
    wchar_t text[96];
    const unsigned code = failure.code;
    switch (failure.kind) {
        case Kind::NoSession: return L"no command session could be opened";
        case Kind::Platform: std::swprintf(text, 96, L"a platform call failed with 0x%x", code); break;
        case Kind::SetRejected: std::swprintf(text, 96, L"the modem refused the set with MBIM status %u", code); break;
        case Kind::QueryRejected:
            std::swprintf(text, 96, L"the modem refused the query with MBIM status %u", code);
            break;
        case Kind::TimedOut: return L"a command got no answer within 10 seconds";
        case Kind::ShortReply: std::swprintf(text, 96, L"a reply of %u bytes, too short to read", code); break;
        case Kind::None: return L"none reported";
    }
    return text;
}

// Milliseconds as seconds with one decimal.
std::wstring SecondsSince(ULONGLONG startMs) {
    const ULONGLONG elapsedMs = GetTickCount64() - startMs;
    wchar_t text[32];
    std::swprintf(text, sizeof text / sizeof *text, L"%llu.%llu", elapsedMs / 1000, elapsedMs % 1000 / 100);
    return text;
}

}  // namespace

void ProtectionEvents::CommandReturned(WlanCommand command, const ExecIntOutcome& outcome) {
    if (!outcome.executed) {
        if (commandLapse_) {
            ++commandLapse_->attempts;
            return;
        }
        commandLapse_ = CommandLapse{GetTickCount64(), 1};
        ReportToEventLog(EventType::Warning, MSG_WLAN_COMMAND_FAILED,
                         {CommandName(command), Wide(outcome.failedStep != nullptr ? outcome.failedStep : "?"),
                          StatusText(outcome.status)});
        return;
    }
    if (commandLapse_) {
        ReportToEventLog(EventType::Information, MSG_WLAN_COMMAND_RECOVERED,
                         {CommandName(command), std::to_wstring(commandLapse_->attempts + 1),
                          SecondsSince(commandLapse_->firstFailureMs)});
        commandLapse_.reset();
        if (command == WlanCommand::Reduce) engagedReported_ = true;
        return;
    }
    if (command == WlanCommand::Reduce && !engagedReported_) {
        ReportToEventLog(EventType::Information, MSG_PROTECTION_ENGAGED, {});
        engagedReported_ = true;
    }
}

void ProtectionEvents::PollUnanswered(int pollsInARow, const MBSar::PollFailure& failure, bool wlanReduced) {
    if (pollsInARow == 1) firstUnansweredMs_ = GetTickCount64();
    if (pollsInARow != kUnansweredPollsReported) return;
    ReportToEventLog(EventType::Warning, MSG_MODEM_NOT_ANSWERING,
                     {std::to_wstring(pollsInARow), FailureText(failure), wlanReduced ? L"reduced" : L"normal"});
}

void ProtectionEvents::PollAnswered(int pollsWithoutAnswer) {
    if (pollsWithoutAnswer >= kUnansweredPollsReported)
        ReportToEventLog(EventType::Information, MSG_MODEM_ANSWERS_AGAIN,
                         {std::to_wstring(pollsWithoutAnswer), SecondsSince(firstUnansweredMs_),
                          modemMadeAnew_ ? L"yes" : L"no"});
    modemMadeAnew_ = false;
}

void ProtectionEvents::ModemMadeAnew() { modemMadeAnew_ = true; }

void ProtectionEvents::StopRequested() { ReportToEventLog(EventType::Information, MSG_STOP_REQUESTED, {}); }

void ReportFatalFailure(const char* what) noexcept {
    try {
        ReportToEventLog(EventType::Error, MSG_FATAL_FAILURE, {Wide(what)});
    } catch (...) {
        // Nothing is left to report it with; the console line has said it.
    }
}
