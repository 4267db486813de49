// The Linux host's exit work: at process exit, after the program's own
// program-wide objects are gone, everything the simulated Windows surface
// handed out must have come back. What is left is reported on standard
// error, one line per kind, and the exit status becomes 4.
#include <cstdio>
#include <cstdlib>

#include "accounting.h"
#include "laptop.h"
#include "sim_error.h"

namespace {

void ReportLeftovers() {
    const sim::LiveCounts left = sim::CurrentCounts();
    // Membership of the multithreaded apartment (CoIncrementMTAUsage) lasts
    // until the process ends by design, so it is not counted here.
    const struct {
        long count;
        const char* kind;
    } kinds[] = {
        {left.objects, "COM objects not released"},
        {left.bstrs, "BSTRs not freed (SysFreeString)"},
        {left.hstrings, "HSTRINGs not deleted (WindowsDeleteString)"},
        {left.taskMemory, "CoTaskMem blocks not freed (CoTaskMemFree)"},
        {left.apartments, "apartment entries not left (CoUninitialize, RoUninitialize)"},
    };
    bool anyLeft = false;
    for (const auto& kind : kinds) {
        if (kind.count == 0) continue;
        std::fprintf(stderr, "simulated laptop: at exit, %ld %s\n", kind.count, kind.kind);
        anyLeft = true;
    }
    if (!anyLeft) return;
    std::fflush(nullptr);
    std::_Exit(sim::kLeftOverAtExitStatus);
}

}  // namespace

// The laptop is first made while the default modem is being made, before
// the entry point; exit work registered then runs after that object's
// destructor, so its references are back by the time the counts are read.
void sim::RegisterHostExitWork() { std::atexit(ReportLeftovers); }
