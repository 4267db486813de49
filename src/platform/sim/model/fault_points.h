// The platform calls a scenario can fail ("fail NAME HRESULT"), make hand
// back no object ("none NAME") or keep from completing ("hang NAME"), named
// as the system calls them. This list is
// the one the scenario reader checks names against and every simulated call
// takes its faults under; the table of fault points in docs/simulated-laptop.md
// matches it.
#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace sim {

// Which part of the system makes the call.
enum class FaultPart { Modem, Firmware, Debugger };

struct FaultPoint {
    std::string_view name;
    FaultPart part;
    bool handsOutObject;       // the call hands out an object, so "none NAME" applies
    bool takesPositiveStatus;  // a positive status is returned as it is (with no object)
    bool canHang = false;      // the call starts an operation that "hang NAME" keeps from completing
};

inline constexpr FaultPoint kFaultPoints[] = {
    {"GetDefault", FaultPart::Modem, true, false},
    {"DeviceInformation", FaultPart::Modem, true, false},
    {"CurrentRadioState", FaultPart::Modem, false, false},
    {"GetDeviceService", FaultPart::Modem, true, false},
    {"OpenCommandSession", FaultPart::Modem, true, false},
    {"SendSetCommandAsync", FaultPart::Modem, true, false, true},
    {"SendQueryCommandAsync", FaultPart::Modem, true, false, true},
    {"Completed", FaultPart::Modem, false, false},
    {"CreateEventW", FaultPart::Modem, false, false},
    {"WaitForSingleObject", FaultPart::Modem, false, false},
    {"GetResults", FaultPart::Modem, true, false},
    {"StatusCode", FaultPart::Modem, false, false},
    {"ResponseData", FaultPart::Modem, true, false},
    {"CloseSession", FaultPart::Modem, false, false},
    {"CreateFromByteArray", FaultPart::Modem, true, false},
    {"CopyToByteArray", FaultPart::Modem, true, false},
    {"RoGetActivationFactory", FaultPart::Modem, true, false},
    {"CoIncrementMTAUsage", FaultPart::Modem, false, false},
    {"RoInitialize", FaultPart::Modem, false, false},
    {"WindowsCreateString", FaultPart::Modem, false, false},
    {"CoTaskMemAlloc", FaultPart::Modem, false, false},
    {"CoInitialize", FaultPart::Firmware, false, false},
    {"CoInitializeSecurity", FaultPart::Firmware, false, true},
    {"CoCreateInstance", FaultPart::Firmware, true, true},
    {"ConnectServer", FaultPart::Firmware, true, true},
    {"CoSetProxyBlanket", FaultPart::Firmware, false, true},
    {"ExecQuery", FaultPart::Firmware, true, true},
    {"Next", FaultPart::Firmware, true, true},
    {"GetObject", FaultPart::Firmware, true, true},
    {"GetMethod", FaultPart::Firmware, true, true},
    {"SpawnInstance", FaultPart::Firmware, true, true},
    {"Put", FaultPart::Firmware, false, true},
    {"Get", FaultPart::Firmware, true, true},
    {"ExecMethod", FaultPart::Firmware, true, true},
    {"SysAllocString", FaultPart::Firmware, false, false},
    {"HeapAlloc", FaultPart::Debugger, false, false},
};

// Calls a fault can be narrowed to one argument of, "CALL:ARGUMENT":
// "SysAllocString:TEXT" hits only the strings made from TEXT, "Get:NAME" only
// the reads of property NAME.
inline constexpr std::string_view kNarrowedForms[] = {"SysAllocString:TEXT", "Get:NAME"};

// The point a scenario's NAME refers to; nullptr for a name not in the list.
inline const FaultPoint* FindFaultPoint(std::string_view name) {
    if (const size_t colon = name.find(':'); colon != std::string_view::npos) {
        name = name.substr(0, colon);
        const auto narrowable = std::find_if(std::begin(kNarrowedForms), std::end(kNarrowedForms),
                                             [name](std::string_view form) { return form.starts_with(name) &&
                                                                                    form[name.size()] == ':'; });
        if (narrowable == std::end(kNarrowedForms)) return nullptr;
    }
    const auto found = std::find_if(std::begin(kFaultPoints), std::end(kFaultPoints),
                                    [name](const FaultPoint& point) { return point.name == name; });
    return found == std::end(kFaultPoints) ? nullptr : found;
}

// The names, comma-separated, for messages: only those for which `only` is
// true (&FaultPoint::handsOutObject, &FaultPoint::canHang), or, without it,
// all of them and the narrowed forms.
inline std::string FaultPointNames(bool FaultPoint::*only = nullptr) {
    std::string names;
    for (const FaultPoint& point : kFaultPoints) {
        if (only != nullptr && !(point.*only)) continue;
        if (!names.empty()) names += ", ";
        names += point.name;
    }
    if (only == nullptr)
        for (std::string_view form : kNarrowedForms) names += ", " + std::string(form);
    return names;
}

}  // namespace sim
