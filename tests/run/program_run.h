// Runs the sar-coordinator executable (or its companion) as a user would, on a
// simulated laptop described by a scenario text, and collects everything it
// leaves behind.
#pragma once

#include <string>
#include <vector>

struct ProgramRun {
    int exitStatus = -1;
    std::string console;              // standard output
    std::string debugger;             // standard error: the debugger channel
    std::vector<std::string> firmwareLog;
    std::vector<std::string> modemLog;
    std::vector<std::string> eventLog;  // SAR_SIM_EVENT_LOG: the Windows event log
    std::string report;               // SAR_SIM_REPORT: the exposure report (JSON)
    std::string timeline;             // SAR_SIM_TIMELINE: the timeline (SVG)
};

// Runs the program on the virtual clock. With `scenario` empty the built-in
// scenario runs; `extraEnvironment` is prepended to the command, e.g.
// "SAR_SIM_CLOCK=bogus". A run still going after `timeoutSeconds` is ended
// and has exit status kTimedOut. `commandLine` runs another program of the
// simulated laptop instead, such as the companion with its arguments.
inline constexpr int kTimedOut = 124;
ProgramRun RunProgram(const std::string& scenario, const std::string& extraEnvironment = {},
                      double timeoutSeconds = 60, const std::string& commandLine = SAR_COORDINATOR_EXE);

// Runs the program as RunProgram does, with the console and the debugger
// channel going into one stream, in the order they were written.
std::string RunProgramInOneStream(const std::string& scenario);

// The whole content of a file, as it is; empty when there is none.
std::string ReadFile(const std::string& path);

// The lines of a log that contain `word`.
std::vector<std::string> LinesWith(const std::vector<std::string>& lines, const std::string& word);
