// Stand-ins for the modem and firmware operations the supervisor loop calls,
// driven by a script of cycles. Each call is recorded with the virtual time.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "modem/mbsar.h"

namespace scripted {

// What MBSar::ReacquireModem finds, should the loop call it in a cycle.
enum class Reacquired { Modem, NoModem, ModemWithoutSarService };

struct Cycle {
    int32_t radio = 1;               // what GetRadioState returns
    bool freshAnswer = true;         // whether the poll got a fresh answer
    bool transmitting = false;       // what the poll leaves in TransmissionActive, fresh or not
    bool commandTakesEffect = true;  // what a firmware command sent in this cycle returns
    MBSar::PollFailure::Kind failure = MBSar::PollFailure::Kind::None;  // the poll's failure
    Reacquired reacquired = Reacquired::Modem;
};

// Starts a new run: the clock back at 0, TransmissionActive false, and the
// cycles to play. Once they are used up the radio reads as off.
void Play(std::vector<Cycle> cycles);

// "<ms> <operation>" for every operation called so far.
const std::vector<std::string>& Calls();

}  // namespace scripted
