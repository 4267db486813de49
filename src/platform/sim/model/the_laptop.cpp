// The process's one laptop: the configured scenario, its stop requests, its
// logs and reports.
#include "sim/model/laptop.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "sim/model/clock.h"
#include "sim/model/event_log.h"
#include "sim/model/host_services.h"
#include "sim/model/report/run_reports.h"
#include "sim/model/run_endings.h"
#include "sim/model/sim_error.h"
#include "sim/model/stop_request.h"

namespace sim {
namespace {

std::string ReadScenarioFile(const char* path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        StopSimulation(Escaped(path) + ": is a directory, not a scenario file");
    std::ifstream file(path, std::ios::binary);
    if (!file) StopSimulation(Escaped(path) + ": cannot open the scenario file");
    std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    if (file.bad()) StopSimulation(Escaped(path) + ": cannot read the scenario file");
    return text;
}

std::vector<ScenarioEvent> LoadConfiguredScenario() {
    const char* path = std::getenv("SAR_SIM_SCENARIO");
    try {
        if (path == nullptr) return ParseScenario(kDefaultScenario, "built-in scenario");
        if (*path == '\0')
            StopSimulation("SAR_SIM_SCENARIO is empty: name a scenario file, or unset it for the built-in timeline");
        std::vector<ScenarioEvent> events = ParseScenario(ReadScenarioFile(path), path);
        // On the virtual clock, which only moves with the run, a run that
        // nothing ends would go on at full speed for ever.
        if (ClockIsVirtual() && !CanEndRun(events))
            StopSimulation(Escaped(path) + ": nothing in the timeline can end a run, so a run on the virtual clock "
                                           "would never end (add " + EndingsToAdd() + ")");
        return events;
    } catch (const ScenarioError& error) {
        StopSimulation(error.what());
    }
}

}  // namespace

Laptop& TheLaptop() {
    static Laptop* laptop = [] {
        // First of all, so that the host's exit work runs after all other.
        RegisterHostExitWork();
        // Never destroyed: simulated objects released by static destructors
        // at exit may still ask it for their state.
        auto* created = new Laptop;
        std::vector<ScenarioEvent> events = LoadConfiguredScenario();
        ScheduleStopRequests(events);
        created->Load(std::move(events));
        // A log that cannot be written stops the run before anything runs.
        ModemLog();
        FirmwareLog();
        WindowsEventLog();
        RegisterRunReportsAtExit();
        return created;
    }();
    return *laptop;
}

}  // namespace sim
