#include "sim/model/clock.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "sim/model/sim_error.h"

namespace sim {
namespace {

struct Clock {
    bool isVirtual = false;
    std::atomic<uint64_t> virtualMs{0};
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();

    Clock() {
        const char* mode = std::getenv("SAR_SIM_CLOCK");
        if (mode == nullptr || std::strcmp(mode, "real") == 0) return;
        if (std::strcmp(mode, "virtual") != 0)
            StopSimulation("SAR_SIM_CLOCK must be 'virtual' or 'real', not '" + Shown(mode) + "'");
        isVirtual = true;
    }
};

Clock& TheClock() {
    static Clock clock;
    return clock;
}

}  // namespace

bool ClockIsVirtual() { return TheClock().isVirtual; }

uint64_t NowMs() {
    Clock& clock = TheClock();
    if (clock.isVirtual) return clock.virtualMs.load();
    const auto elapsed = std::chrono::steady_clock::now() - clock.start;
    return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

void PassMs(uint64_t ms) {
    Clock& clock = TheClock();
    if (clock.isVirtual)
        clock.virtualMs.fetch_add(ms);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void RestartVirtualClock() {
    Clock& clock = TheClock();
    clock.isVirtual = true;
    clock.virtualMs.store(0);
}

}  // namespace sim
