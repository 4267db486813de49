#include "command_line.h"

#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "check.h"
#include "stop.h"

namespace {

// check [--json]
std::optional<int> Check(std::span<char* const> options) {
    CheckOutput output = CheckOutput::Text;
    for (const std::string_view option : options) {
        if (option != "--json" || output == CheckOutput::Json) return std::nullopt;
        output = CheckOutput::Json;
    }
    return RunCheck(output);
}

// A number of seconds to wait, decimal, from 0 to kLongestStopWaitSeconds.
std::optional<DWORD> WaitSeconds(std::string_view text) {
    DWORD seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || seconds > kLongestStopWaitSeconds)
        return std::nullopt;
    return seconds;
}

// stop [--wait SECONDS]
std::optional<int> Stop(std::span<char* const> options) {
    if (options.empty()) return RunStop(kDefaultStopWaitSeconds);
    if (options.size() != 2 || std::string_view(options[0]) != "--wait") return std::nullopt;
    const std::optional<DWORD> seconds = WaitSeconds(options[1]);
    if (!seconds) return std::nullopt;
    return RunStop(*seconds);
}

struct Verb {
    std::string_view name;
    std::string_view options;  // as the usage line shows them
    // The exit status, or nothing (having done nothing) when the options
    // are not the verb's.
    std::optional<int> (*run)(std::span<char* const> options);
};

constexpr Verb kVerbs[] = {
    {"check", "[--json]", Check},
    {"stop", "[--wait SECONDS]", Stop},
};

int PrintUsage() {
    std::string usage = "usage: sar-coordinator-ctl";
    for (const Verb& verb : kVerbs)
        usage += std::string(&verb == kVerbs ? " " : " | ") + std::string(verb.name) + " " + std::string(verb.options);
    printf("%s\n", usage.c_str());
    return kExitBadUsage;
}

}  // namespace

int RunCommandLine(std::span<char* const> arguments) {
    if (arguments.empty()) return PrintUsage();
    for (const Verb& verb : kVerbs) {
        if (verb.name != arguments.front()) continue;
        if (const std::optional<int> status = verb.run(arguments.subspan(1))) return *status;
        break;
    }
    return PrintUsage();
}
