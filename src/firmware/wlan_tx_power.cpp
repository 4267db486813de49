#include "wlan_tx_power.h"

namespace {

// The firmware's WLAN transmit-power command (EAX 0x9630, EBX 0xA0) with the
// state in ECX and EDX: 1 normal, 2 reduced.
constexpr ExecINTRegisters kReducedPower = {L"38448", L"160", L"2", L"2", L"0", L"0"};
constexpr ExecINTRegisters kNormalPower = {L"38448", L"160", L"1", L"1", L"0", L"0"};

}  // namespace

ExecIntOutcome SetWLANTxState_WLANREDUCE() { return CallExecINT(kReducedPower, true); }

ExecIntOutcome SetWLANTxState_WLANNORMAL() { return CallExecINT(kNormalPower, false); }
