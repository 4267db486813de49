// The named kernel objects through which the running program can be found
// and asked to stop, shared by the program and its companion:
// - a mutex the program holds while it runs: a second instance finds it and
//   ends, and `sar-coordinator-ctl stop` waits on it to learn that the
//   program has ended (released at exit, abandoned if the process dies);
// - a manual-reset event the program waits its cycle on: set, it asks the
//   program to stop.
// Both live in the Global\ namespace, so that a `stop` run in an
// administrator's session reaches the program the scheduled task runs as
// LocalSystem in session 0, and only SYSTEM and Administrators may open them
// (the program's descriptors, program_presence.cpp).
#pragma once

inline constexpr wchar_t kRunningMutexName[] = L"Global\\sar-coordinator-running";
inline constexpr wchar_t kStopEventName[] = L"Global\\sar-coordinator-stop";
