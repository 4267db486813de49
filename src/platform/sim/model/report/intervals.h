// Sets of moments on the laptop's clock, as sorted, disjoint, non-empty
// half-open intervals [startMs, endMs) that never touch: what the exposure
// report measures (transmitting, reduced, unprotected) is such a set.
#pragma once

#include <cstdint>
#include <vector>

namespace sim {

struct Interval {
    uint64_t startMs = 0;
    uint64_t endMs = 0;

    bool operator==(const Interval&) const = default;
};

using Intervals = std::vector<Interval>;

// Builds a set from a signal switched on and off over time, in time order.
class IntervalBuilder {
public:
    // The signal's value from atMs on; later calls for the same moment win.
    void Set(uint64_t atMs, bool on);

    // The set, with a stretch still on at endMs closed there.
    Intervals Close(uint64_t endMs);

private:
    void Add(Interval interval);

    Intervals intervals_;
    bool on_ = false;
    uint64_t onSinceMs_ = 0;
};

Intervals Intersect(const Intervals& a, const Intervals& b);
Intervals Subtract(const Intervals& a, const Intervals& b);
uint64_t TotalMs(const Intervals& set);

// The most of `set` inside any window [t, t + windowMs] lying within
// [0, runMs]; all of it when the run is shorter than the window.
uint64_t MostInAnyWindow(const Intervals& set, uint64_t windowMs, uint64_t runMs);

}  // namespace sim
