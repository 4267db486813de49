// Any text as a scenario: the reader either refuses it with one short
// printable line, or hands back events that a laptop can step through, in
// time order, naming only known fault points.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sim/model/clock.h"
#include "sim/model/fault_points.h"
#include "sim/model/laptop.h"
#include "sim/model/run_endings.h"
#include "sim/model/scenario.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// The laptop in the state of every event, one event time after the other.
void StepThrough(const std::vector<sim::ScenarioEvent>& events) {
    sim::Laptop laptop;
    sim::RestartVirtualClock();
    laptop.Load(events);
    for (const sim::ScenarioEvent& event : events) {
        sim::PassMs(event.atMs - sim::NowMs());
        const sim::LaptopState state = laptop.Now();
        Require(state.latencyMs >= 1);
        if (event.kind == sim::EventKind::Fail) laptop.TakeFault(event.name);
        if (event.kind == sim::EventKind::NoObject) laptop.TakeMissingObject(event.name);
        if (event.kind == sim::EventKind::Hang) laptop.TakeHang(event.name);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const std::vector<sim::ScenarioEvent> events = sim::ParseScenario(text, "fuzz.txt");
        uint64_t lastMs = 0;
        for (const sim::ScenarioEvent& event : events) {
            Require(event.atMs >= lastMs);
            lastMs = event.atMs;
            if (event.kind == sim::EventKind::Fail || event.kind == sim::EventKind::NoObject ||
                event.kind == sim::EventKind::Hang)
                Require(sim::FindFaultPoint(event.name) != nullptr);
        }
        sim::CanEndRun(events);
        StepThrough(events);
    } catch (const sim::ScenarioError& error) {
        const std::string_view message = error.what();
        Require(message.starts_with("fuzz.txt:"));
        Require(message.size() <= 1024);
        for (const char c : message) Require(c >= 0x20 && c < 0x7F);
    }
    return 0;
}
