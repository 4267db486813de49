#include "modem_test_support.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "sim/model/clock.h"
#include "sim/model/event_log.h"
#include "sim/model/laptop.h"
#include "sim/model/modem/sar_device.h"

namespace sim {
void PrintTo(const LiveCounts& counts, std::ostream* out) {
    *out << "{objects " << counts.objects << ", bstrs " << counts.bstrs << ", hstrings " << counts.hstrings
         << ", taskMemory " << counts.taskMemory << ", apartments " << counts.apartments
         << ", handles " << counts.handles << "}";
}
}  // namespace sim

void ModemTest::SetUp() {
    logPath_ = testing::TempDir() + "modem_log_" + std::to_string(getpid()) + ".txt";
    Start("");
    before_ = SettledCounts(sim::CurrentCounts());
}

void ModemTest::TearDown() {
    EXPECT_EQ(SettledCounts(before_), before_) << "something the platform handed out was not given back";
    sim::ModemLog().Redirect("");
    std::remove(logPath_.c_str());
}

void ModemTest::Start(const std::string& scenario) {
    sim::RestartVirtualClock();
    sim::TheLaptop().Load(sim::ParseScenario(scenario, "test"));
    sim::ResetSarDevice();
    sim::ModemLog().Redirect(logPath_);
}

std::vector<std::string> ModemTest::ModemLog() const {
    std::ifstream file(logPath_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

sim::LiveCounts SettledCounts(const sim::LiveCounts& expected) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    sim::LiveCounts counts = sim::CurrentCounts();
    while (counts != expected && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        counts = sim::CurrentCounts();
    }
    return counts;
}

std::string Report(const char* notification, int hysteresisTimer, const char* status) {
    return std::string("\n Transmission notification: ") + notification + "\n Hysteresis Timer: " +
           std::to_string(hysteresisTimer) + "\n Transmission Status: " + status + "\n";
}
