#include "scripted_operations.h"

#include <deque>

#include "firmware/wlan_tx_power.h"
#include "sim/model/clock.h"

bool TransmissionActive = false;

namespace scripted {
namespace {

struct Script {
    std::deque<Cycle> cycles;
    Cycle current;
    std::vector<std::string> calls;

    void Record(const std::string& operation) {
        calls.push_back(std::to_string(sim::NowMs()) + " " + operation);
    }

    // A command that does not take effect fails at the method's execution.
    ExecIntOutcome CommandOutcome() const {
        if (current.commandTakesEffect) return {true, nullptr, S_OK};
        return {false, "ExecMethod", WBEM_E_FAILED};
    }
};

Script script;

}  // namespace

void Play(std::vector<Cycle> cycles) {
    sim::RestartVirtualClock();
    TransmissionActive = false;
    script = Script{{cycles.begin(), cycles.end()}, {}, {}};
}

const std::vector<std::string>& Calls() { return script.calls; }

}  // namespace scripted

using scripted::Reacquired;
using scripted::script;

void MBSar::RequireModem() {}

uint32_t MBSar::InitSAR() {
    script.Record("InitSAR");
    if (script.current.reacquired == Reacquired::ModemWithoutSarService) throw ModemUnavailable("no SAR service");
    return 1;
}

int32_t MBSar::GetRadioState() {
    script.current = script.cycles.empty() ? scripted::Cycle{0} : script.cycles.front();
    if (!script.cycles.empty()) script.cycles.pop_front();
    script.Record("radio " + std::to_string(script.current.radio));
    return script.current.radio;
}

MBSar::PollOutcome MBSar::GetTransmissionStatus() {
    TransmissionActive = script.current.transmitting;
    script.Record(std::string(script.current.freshAnswer ? "poll fresh" : "poll none") +
                  (TransmissionActive ? " active" : " inactive"));
    return {script.current.freshAnswer, {script.current.failure, 0}};
}

bool MBSar::ReacquireModem() {
    const bool found = script.current.reacquired != Reacquired::NoModem;
    script.Record(found ? "reacquire found" : "reacquire none");
    return found;
}

ExecIntOutcome SetWLANTxState_WLANREDUCE() {
    script.Record("REDUCE");
    return script.CommandOutcome();
}

ExecIntOutcome SetWLANTxState_WLANNORMAL() {
    script.Record("NORMAL");
    return script.CommandOutcome();
}
