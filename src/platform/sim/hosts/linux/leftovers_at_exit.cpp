// The leftover check: the counts of what the simulated Windows surface handed
// out, read at exit.
#include "sim/hosts/linux/leftovers_at_exit.h"

#include <cstdio>
#include <cstdlib>

#include "sim/model/accounting.h"
#include "sim/model/sim_error.h"

void sim::ReportLeftovers() {
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
        {left.handles, "kernel handles not closed (CloseHandle)"},
        {left.localMemory, "local memory blocks not freed (LocalFree)"},
        {left.eventSources, "event sources not deregistered (DeregisterEventSource)"},
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
