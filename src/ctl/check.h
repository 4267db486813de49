// `sar-coordinator-ctl check`: whether this laptop can be protected. It runs
// the checks (checks.h), prints a line per check and a summary, or one JSON
// object, and changes nothing.
#pragma once

enum class CheckOutput { Text, Json };

// Exit statuses of the check.
inline constexpr int kExitReady = 0;     // the laptop can be protected
inline constexpr int kExitNotReady = 1;  // it cannot: a check failed, and the first is named

// Runs every check, prints the outcome and returns the exit status.
int RunCheck(CheckOutput output);
