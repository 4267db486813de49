// What the default modem's device information tells about the modem: the
// strings a person identifies it by, and its radio state.
#pragma once

#include <string>

#include "platform.h"

struct DeviceDescription {
    std::string manufacturer;  // UTF-8, as the platform reports them
    std::string model;
    std::string firmware;
    winrt_abi::MobileBroadbandRadioState radioState = winrt_abi::MobileBroadbandRadioState_Off;
};

// Reads the default modem's device information afresh. Raises hresult_error
// when a read fails, and MBSar::ModemUnavailable when there is no modem.
DeviceDescription DescribeDefaultModem();

// The radio state the device information reports now. Raises hresult_error
// when the read fails.
winrt_abi::MobileBroadbandRadioState ReadRadioState(winrt_abi::IMobileBroadbandDeviceInformation& information);
