// The program-wide modem objects: the default modem and its device
// information, made before the entry point runs, made anew when the modem has
// stopped answering (it may have reset or re-attached), and released at
// process exit, device information first. The SAR device service of the modem
// and its command identifiers.
#pragma once

#include <exception>
#include <string>

#include "platform.h"
#include "win/com_ptr.h"

// The device service of the MBIM MS SAR extension (UUID_MS_SARControl).
inline constexpr GUID kSarServiceId{0x68223d04, 0x9f6c, 0x4e0f, {0x82, 0x2d, 0x28, 0x44, 0x1f, 0xb7, 0x23, 0x40}};
inline constexpr UINT32 kSarConfigCommand = 1;          // MBIM_CID_MS_SAR_CONFIG
inline constexpr UINT32 kTransmissionStatusCommand = 2;  // MBIM_CID_MS_TRANSMISSION_STATUS

class DefaultModem {
public:
    // Obtains the default modem and its device information. Never throws:
    // what went wrong is kept for Unavailable().
    DefaultModem() noexcept;
    DefaultModem(const DefaultModem&) = delete;
    DefaultModem& operator=(const DefaultModem&) = delete;

    // One line saying why there is no modem to work with, empty when there
    // is. An allocation failure met while the objects were made is raised
    // again here.
    std::string Unavailable() const;

    winrt_abi::IMobileBroadbandModem* modem() const { return modem_.get(); }
    winrt_abi::IMobileBroadbandDeviceInformation* deviceInformation() const { return deviceInformation_.get(); }

    void Swap(DefaultModem& other) noexcept;

private:
    std::string Open();

    // Declared in order of making, so they are released in reverse.
    com_ptr<winrt_abi::IMobileBroadbandModem> modem_;
    com_ptr<winrt_abi::IMobileBroadbandDeviceInformation> deviceInformation_;
    std::string unavailable_;
    std::exception_ptr failure_;
};

// The program-wide instance, made by static initialization before the entry
// point.
const DefaultModem& TheDefaultModem();

// Makes the program-wide instance anew, as at start; the objects it held are
// released here, on the calling thread (the main thread), device
// information first.
void RenewDefaultModem();

// A new reference to the default modem's SAR device service. Raises
// hresult_error when the platform fails, and MBSar::ModemUnavailable when it
// reports success yet hands out no service object.
com_ptr<winrt_abi::IMobileBroadbandDeviceService> OpenSarService();
