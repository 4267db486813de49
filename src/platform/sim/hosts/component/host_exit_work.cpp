// The component host has no exit work: the objects it hands out are counted
// by Windows, not by the simulated laptop.
#include "laptop.h"

void sim::RegisterHostExitWork() {}
