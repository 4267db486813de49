#include "sim/model/accounting.h"

namespace sim {

constinit Counters counters;

LiveCounts CurrentCounts() {
    return {counters.objects.load(), counters.bstrs.load(), counters.hstrings.load(),
            counters.taskMemory.load(), counters.apartments.load(), counters.handles.load(),
            counters.localMemory.load(), counters.eventSources.load()};
}

}  // namespace sim
