#include "sim/model/run_record.h"

#include <mutex>

#include "sim/model/clock.h"

namespace sim {
namespace {

struct Recorder {
    std::mutex mutex;
    bool recording = false;
    std::vector<ModemCommand> commands;
    std::vector<FirmwareExecution> executions;
};

// Never destroyed: the record is read by an exit handler, after static
// destructors that may have run before it.
Recorder& TheRecorder() {
    static Recorder* recorder = new Recorder;
    return *recorder;
}

void AddCommand(const ModemCommand& command) {
    Recorder& recorder = TheRecorder();
    std::lock_guard lock(recorder.mutex);
    if (recorder.recording) recorder.commands.push_back(command);
}

}  // namespace

void StartRecording() {
    Recorder& recorder = TheRecorder();
    std::lock_guard lock(recorder.mutex);
    recorder.recording = true;
}

void RecordModemCommand(bool isSet, uint32_t commandId, uint32_t status) {
    AddCommand({NowMs(), isSet, commandId, status, 0});
}

void RecordUndeliveredModemCommand(bool isSet, uint32_t commandId, int32_t sendFailure) {
    AddCommand({NowMs(), isSet, commandId, 0, sendFailure});
}

void RecordFirmwareExecution(const std::array<uint32_t, 6>& registers, WlanSelection selected) {
    Recorder& recorder = TheRecorder();
    std::lock_guard lock(recorder.mutex);
    if (recorder.recording) recorder.executions.push_back({NowMs(), registers, selected});
}

RunRecord FinishRecord(uint64_t runMs, std::vector<ScenarioEvent> timeline) {
    Recorder& recorder = TheRecorder();
    std::lock_guard lock(recorder.mutex);
    return {runMs, std::move(timeline), recorder.commands, recorder.executions};
}

}  // namespace sim
