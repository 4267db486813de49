#include "sim/model/scenario.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "sim/model/fault_points.h"
#include "sim/model/firmware/firmware_device.h"
#include "sim/model/process_token.h"
#include "sim/model/sim_error.h"

namespace sim {

const char kDefaultScenario[] =
    "# radio on and idle, transmitting from 4 s to 13 s, radio off at 19 s\n"
    "0 radio on\n"
    "4 tx active\n"
    "13 tx inactive\n"
    "19 radio off\n";

namespace {

std::vector<std::string> SplitWords(std::string_view line) {
    std::vector<std::string> words;
    std::istringstream stream{std::string(line)};
    std::string word;
    while (stream >> word) words.push_back(word);
    return words;
}

// A word of the scenario as an error message echoes it.
std::string Quoted(std::string_view word) { return "'" + Shown(word) + "'"; }

bool ParseUnsigned(const std::string& text, uint64_t max, uint64_t& out, int base = 10) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (base == 16) {
        if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return false;
        first += 2;
    }
    const auto [end, error] = std::from_chars(first, last, out, base);
    return error == std::errc() && end == last && first != last && out <= max;
}

// Seconds with up to three decimals, as milliseconds.
bool ParseSeconds(const std::string& text, uint64_t& ms) {
    const size_t dot = text.find('.');
    uint64_t whole = 0;
    if (!ParseUnsigned(text.substr(0, dot), UINT32_MAX, whole)) return false;
    uint64_t fraction = 0;
    if (dot != std::string::npos) {
        const std::string digits = text.substr(dot + 1);
        if (digits.empty() || digits.size() > 3 || !ParseUnsigned(digits, 999, fraction)) return false;
        for (size_t i = digits.size(); i < 3; ++i) fraction *= 10;
    }
    ms = whole * 1000 + fraction;
    return true;
}

// The CIM types an input of ExecINT can be declared with, by their MOF
// names, with their CIMTYPE numbers.
struct CimTypeName {
    std::string_view name;
    uint32_t type;
};
constexpr CimTypeName kCimTypes[] = {{"sint32", 3},  {"string", 8},  {"uint8", 17},
                                     {"uint16", 18}, {"uint32", 19}, {"uint64", 21}};

std::string CimTypeNames() {
    std::string names;
    for (const CimTypeName& known : kCimTypes) names += (names.empty() ? "" : ", ") + std::string(known.name);
    return names;
}

class LineParser {
public:
    LineParser(std::vector<std::string> words, ScenarioEvent& event)
        : words_(std::move(words)), event_(event) {}

    // Returns the reason the line is malformed, or an empty string.
    std::string Parse() {
        const std::string& kind = words_[1];
        if (kind == "radio") return Switch(EventKind::Radio, "on", "off");
        if (kind == "tx") return Transmission();
        if (kind == "session") return Switch(EventKind::Session, "ok", "none");
        if (kind == "latency") return Latency();
        if (kind == "modem") return Modem();
        if (kind == "status") return Status();
        if (kind == "reply-length") return ReplyLength();
        if (kind == "fail") return Fail();
        if (kind == "none") return NoObject();
        if (kind == "hang") return Hang();
        if (kind == "firmware") return Firmware();
        if (kind == "token") return Token();
        if (kind == "stop") return Stop();
        return "unknown event " + Quoted(kind);
    }

private:
    std::string Arguments(size_t least, size_t most) const {
        const size_t given = words_.size() - 2;
        if (given < least || given > most)
            return Quoted(words_[1]) + " takes " +
                   (least == most ? std::to_string(least) : std::to_string(least) + " to " + std::to_string(most)) +
                   " argument(s), not " + std::to_string(given);
        return {};
    }

    std::string Switch(EventKind kind, const char* yes, const char* no) {
        if (std::string reason = Arguments(1, 1); !reason.empty()) return reason;
        event_.kind = kind;
        if (words_[2] == yes) event_.flag = true;
        else if (words_[2] != no)
            return Quoted(words_[1]) + " takes '" + yes + "' or '" + no + "', not " + Quoted(words_[2]);
        return {};
    }

    std::string Value(const std::string& text, const char* what, uint32_t& out) const {
        uint64_t value = 0;
        if (!ParseUnsigned(text, UINT32_MAX, value))
            return Quoted(text) + " is not a valid " + what + " (an unsigned 32-bit decimal number)";
        out = static_cast<uint32_t>(value);
        return {};
    }

    std::string Count(size_t index) {
        if (index >= words_.size()) return {};
        uint64_t count = 0;
        if (!ParseUnsigned(words_[index], INT32_MAX, count) || count == 0)
            return Quoted(words_[index]) + " is not a valid COUNT (a positive decimal number)";
        event_.count = static_cast<int64_t>(count);
        return {};
    }

    // "tx active", "tx inactive", or "tx cycle ACTIVE IDLE" (seconds).
    std::string Transmission() {
        if (words_.size() < 3 || words_[2] != "cycle") return Switch(EventKind::Transmission, "active", "inactive");
        if (std::string reason = Arguments(3, 3); !reason.empty()) return reason;
        event_.kind = EventKind::TransmissionCycle;
        if (std::string reason = Span(words_[3], event_.value); !reason.empty()) return reason;
        return Span(words_[4], event_.idleMs);
    }

    // A positive span of seconds, as milliseconds.
    std::string Span(const std::string& text, uint32_t& ms) const {
        uint64_t parsed = 0;
        if (!ParseSeconds(text, parsed) || parsed == 0 || parsed > UINT32_MAX)
            return Quoted(text) + " is not a valid span (seconds above 0, up to three decimals)";
        ms = static_cast<uint32_t>(parsed);
        return {};
    }

    // The modem answers no command at once: a zero latency would let a loop
    // that keeps sending commands stop the virtual clock.
    std::string Latency() {
        if (std::string reason = Arguments(1, 1); !reason.empty()) return reason;
        event_.kind = EventKind::Latency;
        if (std::string reason = Value(words_[2], "latency", event_.value); !reason.empty()) return reason;
        if (event_.value == 0) return "'latency' must be at least 1 millisecond, not 0";
        return {};
    }

    // "modem absent" (time 0 only) or "modem replaced".
    std::string Modem() {
        if (std::string reason = Arguments(1, 1); !reason.empty()) return reason;
        if (words_[2] == "replaced") {
            event_.kind = EventKind::ModemReplaced;
            return {};
        }
        if (words_[2] != "absent") return "'modem' takes 'absent' or 'replaced', not " + Quoted(words_[2]);
        if (event_.atMs != 0) return "'modem absent' is only possible at time 0";
        event_.kind = EventKind::ModemAbsent;
        return {};
    }

    // "stop requested": someone asks the running program to stop. Not at
    // time 0, when the program may not have made its stop event yet.
    std::string Stop() {
        if (std::string reason = Arguments(1, 1); !reason.empty()) return reason;
        if (words_[2] != "requested") return "'stop' takes 'requested', not " + Quoted(words_[2]);
        if (event_.atMs == 0) return "'stop requested' comes after time 0, once the program has started";
        event_.kind = EventKind::StopRequested;
        return {};
    }

    std::string Status() {
        if (std::string reason = Arguments(2, 3); !reason.empty()) return reason;
        const std::string& command = words_[2];
        if (command != "sar-config" && command != "tx-set" && command != "tx-query")
            return "'status' takes 'sar-config', 'tx-set' or 'tx-query', not " + Quoted(command);
        event_.kind = EventKind::Status;
        event_.name = command;
        if (std::string reason = Value(words_[3], "MBIM status", event_.value); !reason.empty()) return reason;
        return Count(4);
    }

    std::string ReplyLength() {
        if (std::string reason = Arguments(1, 1); !reason.empty()) return reason;
        event_.kind = EventKind::ReplyLength;
        if (words_[2] == "full") {
            event_.flag = true;
            return {};
        }
        return Value(words_[2], "reply length", event_.value);
    }

    std::string Fail() {
        if (std::string reason = Arguments(2, 3); !reason.empty()) return reason;
        event_.kind = EventKind::Fail;
        const FaultPoint* point = nullptr;
        if (std::string reason = Call(point); !reason.empty()) return reason;
        if (words_[3] == "ok") return Cleared();
        uint64_t code = 0;
        if (!ParseUnsigned(words_[3], UINT32_MAX, code, 16))
            return Quoted(words_[3]) + " is not an HRESULT (hexadecimal with 0x) or 'ok'";
        if (code == 0) return "0x0 is no failure; 'fail NAME ok' clears a fault";
        const bool positive = code < 0x80000000u;
        if (positive && !point->takesPositiveStatus)
            return Quoted(event_.name) + " takes only failure statuses (0x80000000 and above), not " +
                   Quoted(words_[3]);
        event_.value = static_cast<uint32_t>(code);
        return Count(4);
    }

    std::string NoObject() {
        return MarkedCall(EventKind::NoObject, &FaultPoint::handsOutObject, " hands out no object; 'none' takes ");
    }

    std::string Hang() {
        return MarkedCall(EventKind::Hang, &FaultPoint::canHang,
                          " starts no operation that could hang; 'hang' takes ");
    }

    // "none NAME [COUNT]" or "hang NAME [COUNT]", or its "ok": NAME must be a
    // call the list marks with `applies`; `refusal` says what one without the
    // mark does not do.
    std::string MarkedCall(EventKind kind, bool FaultPoint::*applies, const char* refusal) {
        if (std::string reason = Arguments(1, 2); !reason.empty()) return reason;
        event_.kind = kind;
        const FaultPoint* point = nullptr;
        if (std::string reason = Call(point); !reason.empty()) return reason;
        if (!(point->*applies)) return Quoted(event_.name) + refusal + FaultPointNames(applies);
        if (words_.size() > 3 && words_[3] == "ok") return Cleared();
        return Count(3);
    }

    // The platform call a "fail", "none" or "hang" line names, from the list
    // of fault points.
    std::string Call(const FaultPoint*& point) {
        event_.name = words_[2];
        point = FindFaultPoint(event_.name);
        if (point == nullptr)
            return Quoted(words_[1]) + " names an unknown call " + Quoted(event_.name) + "; known: " +
                   FaultPointNames();
        return {};
    }

    // "fail NAME ok", "none NAME ok", "hang NAME ok": the call works again.
    std::string Cleared() {
        if (words_.size() > 4) return Quoted(words_[1] + " NAME ok") + " takes no COUNT";
        event_.flag = true;
        return {};
    }

    // "firmware instances N", "firmware class absent|present", "firmware
    // method absent|present", "firmware input NAME absent|TYPE".
    std::string Firmware() {
        const std::string part = words_.size() > 2 ? words_[2] : "";
        if (part == "class" || part == "method") {
            if (std::string reason = Arguments(2, 2); !reason.empty()) return reason;
            event_.kind = part == "class" ? EventKind::FirmwareClass : EventKind::FirmwareMethod;
            return Presence();
        }
        if (part == "input") {
            if (std::string reason = Arguments(3, 3); !reason.empty()) return reason;
            event_.kind = EventKind::FirmwareInput;
            return FirmwareInput();
        }
        if (part != "instances")
            return "'firmware' takes 'instances N', 'class', 'method' or 'input NAME', not " + Quoted(part);
        if (std::string reason = Arguments(2, 2); !reason.empty()) return reason;
        event_.kind = EventKind::FirmwareInstances;
        return Value(words_[3], "instance count", event_.value);
    }

    // The process token: who the process runs as, fixed when it starts.
    std::string Token() {
        if (std::string reason = Arguments(1, 1); !reason.empty()) return reason;
        if (event_.atMs != 0) return "'token' is only possible at time 0";
        event_.kind = EventKind::Token;
        const std::string& account = words_[2];
        if (account == "admin") event_.value = static_cast<uint32_t>(TokenKind::Administrator);
        else if (account == "user") event_.value = static_cast<uint32_t>(TokenKind::StandardUser);
        else if (account == "system") event_.value = static_cast<uint32_t>(TokenKind::LocalSystem);
        else return "'token' takes 'admin', 'user' or 'system', not " + Quoted(account);
        return {};
    }

    std::string Presence() {
        if (words_[3] == "present") event_.flag = true;
        else if (words_[3] != "absent")
            return "'firmware " + words_[2] + "' takes 'present' or 'absent', not " + Quoted(words_[3]);
        return {};
    }

    // An input of ExecINT, and the CIM type its signature declares for it.
    std::string FirmwareInput() {
        event_.name = words_[3];
        const auto isInput = [&](std::wstring_view input) {
            return std::equal(input.begin(), input.end(), event_.name.begin(), event_.name.end());
        };
        if (std::none_of(firmware::kInputNames.begin(), firmware::kInputNames.end(), isInput))
            return Quoted(event_.name) + " is no input of ExecINT (InEAX, InEBX, InECX, InEDX, InESI or InEDI)";
        if (words_[4] == "absent") return {};
        const auto type = std::find_if(std::begin(kCimTypes), std::end(kCimTypes),
                                       [&](const CimTypeName& known) { return words_[4] == known.name; });
        if (type == std::end(kCimTypes))
            return "'firmware input' takes 'absent' or a CIM type (" + CimTypeNames() + "), not " +
                   Quoted(words_[4]);
        event_.value = type->type;
        return {};
    }

    std::vector<std::string> words_;
    ScenarioEvent& event_;
};

}  // namespace

std::vector<ScenarioEvent> ParseScenario(std::string_view text, const std::string& origin) {
    std::vector<ScenarioEvent> events;
    std::istringstream lines{std::string(text)};
    std::string line;
    int number = 0;
    uint64_t lastMs = 0;
    std::string lastTime = "0";
    while (std::getline(lines, line)) {
        ++number;
        const auto fail = [&](const std::string& reason) {
            throw ScenarioError(Escaped(origin) + ":" + std::to_string(number) + ": " + reason);
        };
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::vector<std::string> words = SplitWords(line);
        if (words.empty()) continue;
        ScenarioEvent event;
        event.line = number;
        if (!ParseSeconds(words[0], event.atMs))
            fail(Quoted(words[0]) + " is not a time in seconds (decimal digits, with up to three decimals after "
                                    "a point: 2, 1.5, 0.125)");
        if (event.atMs < lastMs)
            fail("time " + Shown(words[0]) + " is earlier than " + lastTime + ", the time of the line before");
        if (words.size() < 2) fail("an event is missing after the time");
        lastMs = event.atMs;
        lastTime = Shown(words[0]);
        if (std::string reason = LineParser(std::move(words), event).Parse(); !reason.empty()) fail(reason);
        events.push_back(std::move(event));
    }
    return events;
}

}  // namespace sim
