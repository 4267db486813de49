#include "sim/model/firmware/firmware_device.h"

#include <mutex>

#include "sim/model/event_log.h"
#include "sim/model/firmware/wide_text.h"
#include "sim/model/laptop.h"
#include "sim/model/run_record.h"

namespace sim::firmware {
namespace {

constexpr uint32_t kStateCommand = 0x9630;  // EAX of the WLAN power command
constexpr uint32_t kStateSelector = 0xA0;   // EBX of the WLAN power command

struct Device {
    std::mutex mutex;
    WlanPower power = WlanPower::Normal;
    std::optional<Execution> last;
};

Device& TheDevice() {
    static Device device;
    return device;
}

bool SelectsPower(const Registers& r) {
    return r[0] == kStateCommand && r[1] == kStateSelector && r[2] == r[3] &&
           (r[2] == static_cast<uint32_t>(WlanPower::Normal) || r[2] == static_cast<uint32_t>(WlanPower::Reduced));
}

// What an execution selected, for the run's record.
WlanSelection SelectionOf(const Registers& r) {
    if (!SelectsPower(r)) return WlanSelection::None;
    return r[2] == static_cast<uint32_t>(WlanPower::Reduced) ? WlanSelection::Reduced : WlanSelection::Normal;
}

}  // namespace

std::wstring ClassPath() { return L"\\\\SIMLAPTOP\\root\\wmi:QelButtonMethodDWSi"; }

// Instance keys are escaped inside the path: each backslash written twice.
std::wstring InstancePath(uint32_t index) {
    return ClassPath() + L".InstanceName=\"ACPI\\\\PNP0C14\\\\0_" + std::to_wstring(index) + L"\"";
}

std::optional<uint32_t> FindInstance(std::wstring_view path) {
    const LaptopState now = TheLaptop().Now();
    if (!now.firmwareClassPresent) return std::nullopt;
    const uint32_t instances = now.firmwareInstances;
    for (uint32_t index = 0; index < instances; ++index)
        if (SameText(path, InstancePath(index))) return index;
    return std::nullopt;
}

uint32_t Execute(uint32_t instance, const Registers& registers) {
    Device& device = TheDevice();
    std::lock_guard lock(device.mutex);
    if (SelectsPower(registers)) device.power = static_cast<WlanPower>(registers[2]);
    device.last = Execution{InstancePath(instance), registers};
    RecordFirmwareExecution(registers, SelectionOf(registers));
    std::string line = "ExecINT";
    for (uint32_t value : registers) line += " " + std::to_string(value);
    FirmwareLog().Write(line);
    return static_cast<uint32_t>(device.power);
}

WlanPower CurrentWlanPower() {
    Device& device = TheDevice();
    std::lock_guard lock(device.mutex);
    return device.power;
}

std::optional<Execution> LastExecution() {
    Device& device = TheDevice();
    std::lock_guard lock(device.mutex);
    return device.last;
}

}  // namespace sim::firmware
