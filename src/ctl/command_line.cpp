#include "command_line.h"

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "check.h"

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

struct Verb {
    std::string_view name;
    std::string_view options;  // as the usage line shows them
    // The exit status, or nothing (having done nothing) when the options
    // are not the verb's.
    std::optional<int> (*run)(std::span<char* const> options);
};

constexpr Verb kVerbs[] = {
    {"check", "[--json]", Check},
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
