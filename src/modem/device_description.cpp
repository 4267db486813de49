#include "device_description.h"

#include "default_modem.h"
#include "modem/mbsar.h"
#include "win/com_holders.h"
#include "win/hresult_error.h"
#include "win/text.h"

namespace {

using Information = winrt_abi::IMobileBroadbandDeviceInformation;

std::string ReadText(Information& information, HRESULT (STDMETHODCALLTYPE Information::*read)(HSTRING*)) {
    OwnedHstring text;
    check_hresult((information.*read)(text.put()));
    return Utf8(text.view());
}

}  // namespace

winrt_abi::MobileBroadbandRadioState ReadRadioState(winrt_abi::IMobileBroadbandDeviceInformation& information) {
    winrt_abi::MobileBroadbandRadioState state = winrt_abi::MobileBroadbandRadioState_Off;
    check_hresult(information.get_CurrentRadioState(&state));
    return state;
}

DeviceDescription DescribeDefaultModem() {
    MBSar::RequireModem();
    Information& information = *TheDefaultModem().deviceInformation();
    return {ReadText(information, &Information::get_Manufacturer), ReadText(information, &Information::get_Model),
            ReadText(information, &Information::get_FirmwareInformation), ReadRadioState(information)};
}
