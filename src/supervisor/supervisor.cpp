#include "supervisor.h"

#include <cstdio>

#include "firmware/wlan_tx_power.h"
#include "modem/mbsar.h"
#include "platform.h"
#include "win/debug_print.h"

namespace {

constexpr DWORD kCycleMs = 3000;
constexpr DWORD kPauseBeforeExitMs = 1000;

// Each command is logged after it returns, whatever its outcome; the result
// says whether the firmware carried it out.
bool ReduceWlanPower() {
    const bool tookEffect = SetWLANTxState_WLANREDUCE().executed;
    LogEvent(L"[MS_SAR] SetWLANTxState_WLANREDUCE()", "\nSetWLANTxState_WLANREDUCE()");
    return tookEffect;
}

bool RestoreWlanPower() {
    const bool tookEffect = SetWLANTxState_WLANNORMAL().executed;
    LogEvent(L"[MS_SAR] SetWLANTxState_WLANNORMAL()", "\nSetWLANTxState_WLANNORMAL()");
    return tookEffect;
}

// Brings WLAN power in line with the transmission a successful poll reported
// and returns whether it is now reduced. The reduced flag changes only when a
// command took effect, so a command the firmware did not carry out is sent
// again after the next successful poll that still calls for it.
bool FollowTransmission(bool reduced) {
    if (TransmissionActive && !reduced) return ReduceWlanPower();
    if (!TransmissionActive && reduced) return !RestoreWlanPower();
    return reduced;
}

// Polls while the radio is on, one cycle every 3000 ms. A failed poll leaves
// the reduced flag as it was and waits its cycle like any other, so a fault
// that comes before any modem I/O does not turn the loop into a busy spin.
void PollUntilRadioOff() {
    bool reduced = false;
    while (MBSar::GetRadioState() != 0) {
        if (MBSar::GetTransmissionStatus() == 0) reduced = FollowTransmission(reduced);
        Sleep(kCycleMs);
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
    // Sent once: if the firmware does not carry it out, the call's console
    // lines say why, and the program's next start sends NORMAL again.
    RestoreWlanPower();
    Sleep(kPauseBeforeExitMs);
    LogEvent(L"[MS_SAR] Exit while loop", "\nExit while loop");
    return kExitRadioOff;
}
