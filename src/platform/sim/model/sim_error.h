// How the simulated laptop stops when it is set up wrongly (a malformed
// scenario, a bad environment variable): one line on standard error naming
// what is wrong, then exit status 2, before the system runs any further.
// What it finds left over at exit ends the process with status 4.
#pragma once

#include <string>
#include <string_view>

namespace sim {

inline constexpr int kSetupErrorExitStatus = 2;
inline constexpr int kLeftOverAtExitStatus = 4;

[[noreturn]] void StopSimulation(const std::string& reason);

// Text from outside as an error message shows it: bytes other than printable
// ASCII escaped as \xHH, so that the message stays one line
// whatever the text holds.
std::string Escaped(std::string_view text);

// A word from outside (a scenario word, an environment value) as an error
// message echoes it: escaped, and cut to 40 characters followed by "..." when
// longer, so that the message also stays short.
std::string Shown(std::string_view text);

}  // namespace sim
