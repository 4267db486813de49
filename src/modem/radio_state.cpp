// MBSar::GetRadioState: the modem radio's current state, read afresh on every
// call from the program-wide device information.
#include "default_modem.h"
#include "modem/mbsar.h"
#include "win/hresult_error.h"

int32_t MBSar::GetRadioState() {
    winrt_abi::IMobileBroadbandDeviceInformation* const information = TheDefaultModem().deviceInformation();
    if (information == nullptr) return 0;  // no modem: its radio reads as off
    winrt_abi::MobileBroadbandRadioState state = winrt_abi::MobileBroadbandRadioState_Off;
    try {
        check_hresult(information->get_CurrentRadioState(&state));
    } catch (const hresult_error&) {
        return 0;  // a radio that cannot be read counts as off
    }
    return state;
}
