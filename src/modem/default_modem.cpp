#include "default_modem.h"

#include <utility>

#include "modem/mbsar.h"
#include "win/hresult_error.h"
#include "winrt_activation.h"

namespace {

// Made before main, as the first Windows Runtime activation of the process.
DefaultModem theDefaultModem;

}  // namespace

DefaultModem::DefaultModem() noexcept {
    try {
        unavailable_ = Open();
    } catch (...) {
        failure_ = std::current_exception();
    }
}

std::string DefaultModem::Open() {
    constexpr char kNoModem[] = "No mobile broadband modem found: ";
    try {
        check_hresult(ModemStatics().GetDefault(modem_.put()));
    } catch (const hresult_error& failure) {
        return kNoModem + std::string(failure.what());
    }
    if (!modem_) return kNoModem + std::string("the system reports none");

    try {
        check_hresult(modem_->get_DeviceInformation(deviceInformation_.put()));
    } catch (const hresult_error& failure) {
        return kNoModem + std::string("its device information cannot be read: ") + failure.what();
    }
    if (!deviceInformation_) return kNoModem + std::string("it has no device information");
    return {};
}

std::string DefaultModem::Unavailable() const {
    if (failure_) std::rethrow_exception(failure_);
    return unavailable_;
}

void DefaultModem::Swap(DefaultModem& other) noexcept {
    std::swap(modem_, other.modem_);
    std::swap(deviceInformation_, other.deviceInformation_);
    std::swap(unavailable_, other.unavailable_);
    std::swap(failure_, other.failure_);
}

const DefaultModem& TheDefaultModem() { return theDefaultModem; }

void RenewDefaultModem() {
    DefaultModem renewed;
    theDefaultModem.Swap(renewed);
}  // `renewed` holds the objects before, and releases them here

com_ptr<winrt_abi::IMobileBroadbandDeviceService> OpenSarService() {
    winrt_abi::IMobileBroadbandModem* const modem = TheDefaultModem().modem();
    if (modem == nullptr) throw_hresult(E_POINTER);
    com_ptr<winrt_abi::IMobileBroadbandDeviceService> service;
    check_hresult(modem->GetDeviceService(kSarServiceId, service.put()));
    if (!service) throw MBSar::ModemUnavailable("The modem offers no SAR device service: none was handed out");
    return service;
}

void MBSar::RequireModem() {
    if (std::string reason = TheDefaultModem().Unavailable(); !reason.empty())
        throw ModemUnavailable(std::move(reason));
}

bool MBSar::ReacquireModem() {
    RenewDefaultModem();
    return TheDefaultModem().Unavailable().empty();
}
