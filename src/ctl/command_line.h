// The companion's command line: a verb, then that verb's options. Each verb
// reads its own options before it does anything; an unknown verb or option
// gets one line of usage and kExitBadUsage.
#pragma once

#include <span>

inline constexpr int kExitBadUsage = 2;

// Runs what the arguments (without the program's name) ask for and returns
// the exit status.
int RunCommandLine(std::span<char* const> arguments);
