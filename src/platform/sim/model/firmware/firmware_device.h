// The laptop's platform firmware as WMI shows it: instances of the class
// QelButtonMethodDWSi in root\wmi, whose method ExecINT takes six register
// values. The firmware keeps the WLAN transmit-power state the last command
// selected and writes one line per execution to the firmware log.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>


namespace sim::firmware {

inline constexpr std::wstring_view kNamespace = L"root\\wmi";
inline constexpr std::wstring_view kClassName = L"QelButtonMethodDWSi";
inline constexpr std::wstring_view kMethodName = L"ExecINT";
inline constexpr std::array<std::wstring_view, 6> kInputNames = {L"InEAX", L"InEBX", L"InECX",
                                                                 L"InEDX", L"InESI", L"InEDI"};
inline constexpr std::wstring_view kOutputName = L"OutEDX";

using Registers = std::array<uint32_t, 6>;

enum class WlanPower : uint32_t { Normal = 1, Reduced = 2 };

struct Execution {
    std::wstring instancePath;
    Registers registers{};
};

// The full WMI path of the class definition.
std::wstring ClassPath();

// The full WMI path of instance `index` (0 the first).
std::wstring InstancePath(uint32_t index);

// The index of the instance a path names, if that instance exists now (none
// while the class is absent).
std::optional<uint32_t> FindInstance(std::wstring_view path);

// Runs ExecINT on an instance and returns the value for OutEDX: the WLAN
// power state in effect afterwards. A command selects a state when ECX and
// EDX both carry it (1 normal, 2 reduced); other commands change nothing.
uint32_t Execute(uint32_t instance, const Registers& registers);

WlanPower CurrentWlanPower();
std::optional<Execution> LastExecution();

}  // namespace sim::firmware
