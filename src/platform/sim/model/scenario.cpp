#include "scenario.h"

#include <charconv>
#include <cmath>
#include <sstream>

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

class LineParser {
public:
    LineParser(std::vector<std::string> words, ScenarioEvent& event)
        : words_(std::move(words)), event_(event) {}

    // Returns the reason the line is malformed, or an empty string.
    std::string Parse() {
        const std::string& kind = words_[1];
        if (kind == "radio") return Switch(EventKind::Radio, "on", "off");
        if (kind == "tx") return Switch(EventKind::Transmission, "active", "inactive");
        if (kind == "session") return Switch(EventKind::Session, "ok", "none");
        if (kind == "latency") return Number(EventKind::Latency, "milliseconds");
        if (kind == "modem") return ModemAbsent();
        if (kind == "status") return Status();
        if (kind == "reply-length") return ReplyLength();
        if (kind == "fail") return Fail();
        if (kind == "firmware") return FirmwareInstances();
        return "unknown event '" + kind + "'";
    }

private:
    std::string Arguments(size_t least, size_t most) const {
        const size_t given = words_.size() - 2;
        if (given < least || given > most)
            return "'" + words_[1] + "' takes " +
                   (least == most ? std::to_string(least) : std::to_string(least) + " to " + std::to_string(most)) +
                   " argument(s), not " + std::to_string(given);
        return {};
    }

    std::string Switch(EventKind kind, const char* yes, const char* no) {
        if (std::string reason = Arguments(1, 1); !reason.empty()) return reason;
        event_.kind = kind;
        if (words_[2] == yes) event_.flag = true;
        else if (words_[2] != no) return "'" + words_[1] + "' takes '" + yes + "' or '" + no + "', not '" + words_[2] + "'";
        return {};
    }

    std::string Value(const std::string& text, const char* what, uint32_t& out) const {
        uint64_t value = 0;
        if (!ParseUnsigned(text, UINT32_MAX, value))
            return "'" + text + "' is not a valid " + what + " (an unsigned 32-bit decimal number)";
        out = static_cast<uint32_t>(value);
        return {};
    }

    std::string Count(size_t index) {
        if (index >= words_.size()) return {};
        uint64_t count = 0;
        if (!ParseUnsigned(words_[index], INT32_MAX, count) || count == 0)
            return "'" + words_[index] + "' is not a valid COUNT (a positive decimal number)";
        event_.count = static_cast<int64_t>(count);
        return {};
    }

    std::string Number(EventKind kind, const char* what) {
        if (std::string reason = Arguments(1, 1); !reason.empty()) return reason;
        event_.kind = kind;
        return Value(words_[2], what, event_.value);
    }

    std::string ModemAbsent() {
        if (std::string reason = Arguments(1, 1); !reason.empty()) return reason;
        if (words_[2] != "absent") return "'modem' takes 'absent', not '" + words_[2] + "'";
        if (event_.atMs != 0) return "'modem absent' is only possible at time 0";
        event_.kind = EventKind::ModemAbsent;
        return {};
    }

    std::string Status() {
        if (std::string reason = Arguments(2, 3); !reason.empty()) return reason;
        const std::string& command = words_[2];
        if (command != "sar-config" && command != "tx-set" && command != "tx-query")
            return "'status' takes 'sar-config', 'tx-set' or 'tx-query', not '" + command + "'";
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
        event_.name = words_[2];
        if (words_[3] == "ok") {
            if (words_.size() > 4) return "'fail NAME ok' takes no COUNT";
            event_.flag = true;
            return {};
        }
        uint64_t code = 0;
        if (!ParseUnsigned(words_[3], UINT32_MAX, code, 16))
            return "'" + words_[3] + "' is not an HRESULT (hexadecimal with 0x) or 'ok'";
        event_.value = static_cast<uint32_t>(code);
        return Count(4);
    }

    std::string FirmwareInstances() {
        if (std::string reason = Arguments(2, 2); !reason.empty()) return reason;
        if (words_[2] != "instances") return "'firmware' takes 'instances N', not '" + words_[2] + "'";
        event_.kind = EventKind::FirmwareInstances;
        return Value(words_[3], "instance count", event_.value);
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
    while (std::getline(lines, line)) {
        ++number;
        const auto fail = [&](const std::string& reason) {
            throw ScenarioError(origin + ":" + std::to_string(number) + ": " + reason);
        };
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::vector<std::string> words = SplitWords(line);
        if (words.empty()) continue;
        ScenarioEvent event;
        event.line = number;
        if (!ParseSeconds(words[0], event.atMs)) fail("'" + words[0] + "' is not a time in seconds");
        if (event.atMs < lastMs) fail("time " + words[0] + " is earlier than the line before");
        if (words.size() < 2) fail("an event is missing after the time");
        lastMs = event.atMs;
        if (std::string reason = LineParser(std::move(words), event).Parse(); !reason.empty()) fail(reason);
        events.push_back(std::move(event));
    }
    return events;
}

}  // namespace sim
