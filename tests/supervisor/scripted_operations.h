// Stand-ins for the modem and firmware operations the supervisor loop calls,
// driven by a script of cycles. Each call is recorded with the virtual time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace scripted {

struct Cycle {
    int32_t radio = 1;          // what GetRadioState returns
    uint32_t poll = 0;          // what GetTransmissionStatus returns
    bool transmitting = false;  // what the poll leaves in TransmissionActive
    bool commandTakesEffect = true;  // what a firmware command sent in this cycle returns
};

// Starts a new run: the clock back at 0, TransmissionActive false, and the
// cycles to play. Once they are used up the radio reads as off.
void Play(std::vector<Cycle> cycles);

// "<ms> <operation>" for every operation called so far.
const std::vector<std::string>& Calls();

}  // namespace scripted
