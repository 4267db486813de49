// `sar-coordinator-ctl stop`: asks the running program to stop, by setting
// its stop event, and waits until it has ended, which the release (or the
// abandonment) of its running mutex tells (win/program_objects.h). Only
// SYSTEM and Administrators may open either, so it must run elevated.
#pragma once

#include "platform.h"

// Exit statuses of the stop.
inline constexpr int kExitProgramEnded = 0;      // the program ended, or was not running
inline constexpr int kExitProgramStillRuns = 1;  // it did not end in time, or could not be asked to

inline constexpr DWORD kDefaultStopWaitSeconds = 15;
inline constexpr DWORD kLongestStopWaitSeconds = 3600;

// Asks the program to stop, waits up to waitSeconds for it to end, prints one
// line saying how it went and returns the exit status.
int RunStop(DWORD waitSeconds);
