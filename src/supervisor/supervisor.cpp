#include "supervisor.h"

#include <cstdio>

#include "firmware/wlan_tx_power.h"
#include "modem/mbsar.h"
#include "platform.h"
#include "win/debug_print.h"

namespace {

constexpr DWORD kCycleMs = 3000;
constexpr DWORD kPauseBeforeExitMs = 1000;

void ReduceWlanPower() {
    SetWLANTxState_WLANREDUCE();
    LogEvent(L"[MS_SAR] SetWLANTxState_WLANREDUCE()", "\nSetWLANTxState_WLANREDUCE()");
}

void RestoreWlanPower() {
    SetWLANTxState_WLANNORMAL();
    LogEvent(L"[MS_SAR] SetWLANTxState_WLANNORMAL()", "\nSetWLANTxState_WLANNORMAL()");
}

// Polls while the radio is on. The reduced flag remembers the last command
// sent: commands go out only when a successful poll reports a change, and a
// failed poll starts the next cycle at once, with no pause.
void PollUntilRadioOff() {
    bool reduced = false;
    while (MBSar::GetRadioState() != 0) {
        if (MBSar::GetTransmissionStatus() != 0) continue;
        if (!TransmissionActive) {
            if (reduced) RestoreWlanPower();
            reduced = false;
            Sleep(kCycleMs);
        } else {
            if (!reduced) ReduceWlanPower();
            Sleep(kCycleMs);
            reduced = true;
        }
    }
}

}  // namespace

int RunSupervisor() {
    // Without a modem, or without its SAR device service, there is nothing to
    // coordinate: WLAN power is left as it is (normal, since nothing here ever
    // reduced it).
    try {
        MBSar::RequireModem();
        MBSar::InitSAR();
    } catch (const MBSar::ModemUnavailable& unavailable) {
        printf("\n%s\n", unavailable.what());
        return kExitModemMissing;
    }
    LogEvent(L"[MS_SAR] MBSar::InitSAR()", "\nMBSar::InitSAR()");

    PollUntilRadioOff();

    LogEvent(L"[MS_SAR]  MBSar::GetRadioState()  Off", "\nMBSar::GetRadioState()  Off");
    RestoreWlanPower();
    Sleep(kPauseBeforeExitMs);
    LogEvent(L"[MS_SAR] Exit while loop", "\nExit while loop");
    return kExitRadioOff;
}
