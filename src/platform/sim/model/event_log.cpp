#include "sim/model/event_log.h"

#include <cinttypes>
#include <cstdlib>

#include "sim/model/clock.h"
#include "sim/model/sim_error.h"

namespace sim {

EventLog::EventLog(const char* environmentVariable, char separator) : separator_(separator) {
    const char* path = std::getenv(environmentVariable);
    if (path != nullptr && *path != '\0') Open(path);
    if (path != nullptr && *path != '\0' && file_ == nullptr)
        StopSimulation(std::string(environmentVariable) + ": cannot write " + Escaped(path));
}

EventLog::~EventLog() {
    if (file_ != nullptr) std::fclose(file_);
}

void EventLog::Write(std::string_view text) {
    std::lock_guard lock(mutex_);
    if (file_ == nullptr) return;
    std::fprintf(file_, "%" PRIu64 "%c%.*s\n", NowMs(), separator_, static_cast<int>(text.size()), text.data());
    std::fflush(file_);
}

void EventLog::Redirect(const std::string& path) {
    std::lock_guard lock(mutex_);
    if (file_ != nullptr) std::fclose(file_);
    file_ = nullptr;
    if (!path.empty()) Open(path);
}

void EventLog::Open(const std::string& path) { file_ = std::fopen(path.c_str(), "w"); }

EventLog& ModemLog() {
    static EventLog log("SAR_SIM_MODEM_LOG");
    return log;
}

EventLog& FirmwareLog() {
    static EventLog log("SAR_SIM_FIRMWARE_LOG");
    return log;
}

EventLog& WindowsEventLog() {
    static EventLog log("SAR_SIM_EVENT_LOG", '\t');
    return log;
}

}  // namespace sim
