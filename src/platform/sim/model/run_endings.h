// What ends a run of the system on the simulated laptop. The loop polls while
// its radio probe reads the radio as on, and a probe that fails reads as off,
// until it is asked to stop; start-up ends the run with status 3 when it finds
// no modem or no SAR device service. On the virtual clock a timeline must hold one of these lines, or
// its run would never end: this list is the one the laptop checks it against.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim/model/scenario.h"

namespace sim {

struct RunEnding {
    EventKind kind;         // Radio: "radio off"; Fail, NoObject: of `call` (not its "ok"); StopRequested
    std::string_view call;
    bool atStartOnly;       // counts only at time 0, the program's start-up
    int exitStatus;         // the program's exit status when the line ends the run
};

inline constexpr RunEnding kRunEndings[] = {
    // The radio probe reads the radio as off, or fails: the loop ends. A
    // limited fault counts too, since the first failed probe ends the loop.
    {EventKind::Radio, {}, false, 0},
    {EventKind::Fail, "CurrentRadioState", false, 0},
    // The program is asked to stop: it ends its loop at the next wait.
    {EventKind::StopRequested, {}, false, 0},
    // Start-up finds no modem. The first activation of the process comes
    // before the entry point, with no apartment, so it joins the
    // multithreaded apartment first. (A failing RoGetActivationFactory is not
    // listed: after CO_E_NOTINITIALIZED the program activates again.)
    {EventKind::ModemAbsent, {}, true, 3},
    {EventKind::Fail, "CoIncrementMTAUsage", true, 3},
    {EventKind::NoObject, "RoGetActivationFactory", true, 3},
    {EventKind::Fail, "GetDefault", true, 3},
    {EventKind::NoObject, "GetDefault", true, 3},
    {EventKind::Fail, "DeviceInformation", true, 3},
    {EventKind::NoObject, "DeviceInformation", true, 3},
    // Start-up finds no SAR device service. (One refused with a failure is
    // only a SAR configuration not sent.)
    {EventKind::NoObject, "GetDeviceService", true, 3},
};

// Whether a line of the timeline is one of kRunEndings that no later line
// takes back.
bool CanEndRun(const std::vector<ScenarioEvent>& events);

// The lines that end a run at any time, as a refusal suggests adding them:
// "'<seconds> radio off' or '<seconds> fail CurrentRadioState HRESULT' or
// '<seconds> stop requested'".
std::string EndingsToAdd();

}  // namespace sim
