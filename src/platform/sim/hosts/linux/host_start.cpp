// What the Linux host hands the laptop model when the process starts, from a
// static initializer (the host's objects are linked whole, so it runs in
// every program on the simulated platform): the leftover check as its exit
// work, after the laptop's pending timed work is dropped, and the process's
// COM security as the simulated surface keeps it.
//
// The laptop is first made while the default modem is being made, before the
// entry point, and registers the host's exit work then; so it runs after that
// object's destructor, and the modem's references are back by the time the
// counts are read.
#include "sim/hosts/linux/leftovers_at_exit.h"
#include "sim/model/clock.h"
#include "sim/model/host_services.h"
#include "sim/surface/com_security.h"

namespace {

// Work the laptop had still pending (a command's answer not yet due) holds
// what it works on; it goes first, so that only what the program kept counts.
void ExitWork() {
    sim::DropTimedWork();
    sim::ReportLeftovers();
}

[[maybe_unused]] const bool attached = (sim::AttachHost({ExitWork, sim::InitializedImpersonationLevel}), true);

}  // namespace
