// Stands in for the modem side in firmware tests: the radio and transmission
// state are read straight off the simulated laptop, so a supervisor run
// drives the real firmware commands on the scenario's timeline.
#include "laptop.h"
#include "modem/mbsar.h"

bool TransmissionActive = false;

std::string MBSar::Unavailable() { return {}; }

uint32_t MBSar::InitSAR() {
    TransmissionActive = false;
    return 0;
}

int32_t MBSar::GetRadioState() { return sim::TheLaptop().Now().radioOn ? 1 : 0; }

uint32_t MBSar::GetTransmissionStatus() {
    TransmissionActive = sim::TheLaptop().Now().transmissionActive;
    return 0;
}
