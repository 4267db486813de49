// The simulated laptop's timeline: a text of "<seconds> <event> [arguments]"
// lines in non-decreasing time order, '#' comments (also after an event) and
// blank lines ignored. Seconds are decimal, with up to three decimals after
// a point.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

enum class EventKind {
    Radio,             // flag: on
    Latency,           // value: ms
    Transmission,      // flag: active
    TransmissionCycle, // value: ms active, then idleMs inactive, over and over
    ModemAbsent,
    ModemReplaced,     // the modem re-enumerates
    Session,           // flag: a session is handed out
    Status,            // name: sar-config | tx-set | tx-query; value: status; count
    ReplyLength,       // value: bytes; flag: full length
    Fail,              // name: platform call; value: HRESULT; flag: cleared ("ok"); count
    NoObject,          // name: platform call; flag: cleared ("ok"); count
    Hang,              // name: platform call; flag: cleared ("ok"); count
    FirmwareInstances, // value: instances
    Token,             // value: TokenKind
    FirmwareClass,     // flag: the class is there
    FirmwareMethod,    // flag: the class has the method ExecINT
    FirmwareInput,     // name: input of ExecINT; value: its CIM type, 0 when the signature lacks it
    StopRequested,     // the program's stop event is set, as `sar-coordinator-ctl stop` sets it
};

inline constexpr int64_t kUnlimited = -1;

struct ScenarioEvent {
    uint64_t atMs = 0;
    int line = 0;
    EventKind kind = EventKind::Radio;
    bool flag = false;
    uint32_t value = 0;
    uint32_t idleMs = 0;
    std::string name;
    int64_t count = kUnlimited;
};

struct ScenarioError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Parses a scenario; a malformed one throws ScenarioError with
// "<origin>:<line>: <reason>".
std::vector<ScenarioEvent> ParseScenario(std::string_view text, const std::string& origin);

// The timeline the laptop runs when SAR_SIM_SCENARIO is not set: radio on,
// idle, transmitting for a while, idle again, radio off.
extern const char kDefaultScenario[];

}  // namespace sim
