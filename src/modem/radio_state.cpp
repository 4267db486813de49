// MBSar::GetRadioState: the modem radio's current state, read afresh on every
// call from the program-wide device information.
#include "default_modem.h"
#include "device_description.h"
#include "modem/mbsar.h"
#include "win/hresult_error.h"

int32_t MBSar::GetRadioState() {
    winrt_abi::IMobileBroadbandDeviceInformation* const information = TheDefaultModem().deviceInformation();
    if (information == nullptr) return 0;  // no modem: its radio reads as off
    try {
        return ReadRadioState(*information);
    } catch (const hresult_error&) {
        return 0;  // a radio that cannot be read counts as off
    }
}
