// The log files of the simulated laptop: one line per event, stamped with the
// laptop's clock, "<ms> <text>" (the Windows event log's, "<ms>\t<text>").
// Each file is named by an environment variable (SAR_SIM_MODEM_LOG,
// SAR_SIM_FIRMWARE_LOG, SAR_SIM_EVENT_LOG); without it nothing is written.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace sim {

class EventLog {
public:
    // The stamp and the text are separated by `separator`.
    explicit EventLog(const char* environmentVariable, char separator = ' ');
    ~EventLog();
    EventLog(const EventLog&) = delete;
    EventLog& operator=(const EventLog&) = delete;

    void Write(std::string_view text);

    // Tests: write to this file from now on (empty: nowhere).
    void Redirect(const std::string& path);

private:
    void Open(const std::string& path);

    const char separator_;
    std::mutex mutex_;
    std::FILE* file_ = nullptr;
};

// The modem log (SAR_SIM_MODEM_LOG): one line per command the modem receives.
EventLog& ModemLog();

// The firmware log (SAR_SIM_FIRMWARE_LOG): one line per ExecINT execution.
EventLog& FirmwareLog();

// The Windows event log (SAR_SIM_EVENT_LOG): one line per event reported,
// its fields separated by tabs.
EventLog& WindowsEventLog();

}  // namespace sim
