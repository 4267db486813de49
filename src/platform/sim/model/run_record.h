// The ground truth of one run, as the simulated laptop saw it: the timeline's
// events as they came due, every command the modem received (or that failed
// on its way to the modem), and every ExecINT the firmware executed, each
// stamped with the laptop's clock. The exposure report and the timeline are
// computed from it at exit. Nothing is recorded unless StartRecording was
// called, so an ordinary run keeps no history.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "sim/model/scenario.h"

namespace sim {

struct ModemCommand {
    uint64_t atMs = 0;
    bool isSet = false;
    uint32_t commandId = 0;
    uint32_t status = 0;       // the MBIM status the modem answered (0: success)
    int32_t sendFailure = 0;   // the HRESULT of a send that never reached the modem (0: it did)
};

// What one ExecINT selected for WLAN transmit power.
enum class WlanSelection { None, Normal, Reduced };

struct FirmwareExecution {
    uint64_t atMs = 0;
    std::array<uint32_t, 6> registers{};  // EAX, EBX, ECX, EDX, ESI, EDI
    WlanSelection selected = WlanSelection::None;
};

struct RunRecord {
    uint64_t runMs = 0;
    std::vector<ScenarioEvent> timeline;  // the events due by runMs, in file order
    std::vector<ModemCommand> commands;
    std::vector<FirmwareExecution> executions;
};

void StartRecording();

void RecordModemCommand(bool isSet, uint32_t commandId, uint32_t status);
void RecordUndeliveredModemCommand(bool isSet, uint32_t commandId, int32_t sendFailure);
void RecordFirmwareExecution(const std::array<uint32_t, 6>& registers, WlanSelection selected);

// The record so far, closed at runMs with the timeline's events due by then.
RunRecord FinishRecord(uint64_t runMs, std::vector<ScenarioEvent> timeline);

}  // namespace sim
