// Counts of what the simulated platform has handed out and not yet had back,
// so tests can assert that a run, failure paths included, leaves nothing
// behind.
#pragma once

#include <atomic>

namespace sim {

struct LiveCounts {
    long objects = 0;     // reference-counted platform objects
    long bstrs = 0;       // SysAllocString strings
    long hstrings = 0;    // WindowsCreateString strings
    long taskMemory = 0;  // CoTaskMemAlloc blocks
    long apartments = 0;  // CoInitialize/RoInitialize entries not yet left
    long handles = 0;     // kernel handles (events, mutexes, process tokens) not yet closed
    long localMemory = 0; // blocks handed out to be freed with LocalFree
    long eventSources = 0;  // event sources (RegisterEventSourceW) not yet deregistered

    bool operator==(const LiveCounts&) const = default;
};

struct Counters {
    std::atomic<long> objects{0};
    std::atomic<long> bstrs{0};
    std::atomic<long> hstrings{0};
    std::atomic<long> taskMemory{0};
    std::atomic<long> apartments{0};
    std::atomic<long> handles{0};
    std::atomic<long> localMemory{0};
    std::atomic<long> eventSources{0};
};

// Constant-initialized, so it is usable from any static constructor or
// destructor whatever the order of the translation units.
extern Counters counters;

LiveCounts CurrentCounts();

}  // namespace sim
