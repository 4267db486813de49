#include "sim/model/sim_error.h"

#include <cstdio>
#include <cstdlib>

#include "sim/model/plain_text.h"

namespace sim {
namespace {

constexpr size_t kShownCharacters = 40;

std::string EscapedByte(unsigned char byte) {
    if (byte >= 0x20 && byte < 0x7F) return std::string(1, static_cast<char>(byte));
    return "\\x" + HexBytes({&byte, 1});
}

}  // namespace

void StopSimulation(const std::string& reason) {
    std::fflush(stdout);
    // Written whole: a NUL byte in it must not cut the line short.
    const std::string line = "simulated laptop: " + reason + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
    std::_Exit(kSetupErrorExitStatus);
}

std::string Escaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) escaped += EscapedByte(static_cast<unsigned char>(c));
    return escaped;
}

std::string Shown(std::string_view text) {
    std::string shown;
    for (const char c : text) {
        const std::string piece = EscapedByte(static_cast<unsigned char>(c));
        if (shown.size() + piece.size() > kShownCharacters) return shown + "...";
        shown += piece;
    }
    return shown;
}

}  // namespace sim
