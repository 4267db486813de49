#include "sim/model/report/intervals.h"

#include <algorithm>

namespace sim {
namespace {

// How much of `set` lies before `t`, given each interval's running total.
uint64_t MeasureBefore(const Intervals& set, const std::vector<uint64_t>& totalsBefore, uint64_t t) {
    const auto after = std::upper_bound(set.begin(), set.end(), t,
                                        [](uint64_t moment, const Interval& i) { return moment < i.startMs; });
    if (after == set.begin()) return 0;
    const size_t last = static_cast<size_t>(after - set.begin()) - 1;
    return totalsBefore[last] + std::min(t, set[last].endMs) - set[last].startMs;
}

}  // namespace

void IntervalBuilder::Set(uint64_t atMs, bool on) {
    if (on == on_) return;
    if (on)
        onSinceMs_ = atMs;
    else
        Add({onSinceMs_, atMs});
    on_ = on;
}

Intervals IntervalBuilder::Close(uint64_t endMs) {
    if (on_ && onSinceMs_ < endMs) Add({onSinceMs_, endMs});
    on_ = false;
    return std::move(intervals_);
}

// Off and on again at the same moment continues the stretch; on and off
// again leaves nothing.
void IntervalBuilder::Add(Interval interval) {
    if (interval.startMs >= interval.endMs) return;
    if (!intervals_.empty() && intervals_.back().endMs == interval.startMs)
        intervals_.back().endMs = interval.endMs;
    else
        intervals_.push_back(interval);
}

Intervals Intersect(const Intervals& a, const Intervals& b) {
    Intervals both;
    for (size_t i = 0, j = 0; i < a.size() && j < b.size();) {
        const uint64_t start = std::max(a[i].startMs, b[j].startMs);
        const uint64_t end = std::min(a[i].endMs, b[j].endMs);
        if (start < end) both.push_back({start, end});
        if (a[i].endMs < b[j].endMs)
            ++i;
        else
            ++j;
    }
    return both;
}

Intervals Subtract(const Intervals& a, const Intervals& b) {
    Intervals rest;
    size_t j = 0;
    for (const Interval& interval : a) {
        uint64_t from = interval.startMs;
        while (j < b.size() && b[j].endMs <= from) ++j;
        for (size_t k = j; k < b.size() && b[k].startMs < interval.endMs; ++k) {
            if (b[k].startMs > from) rest.push_back({from, b[k].startMs});
            from = std::max(from, b[k].endMs);
        }
        if (from < interval.endMs) rest.push_back({from, interval.endMs});
    }
    return rest;
}

uint64_t TotalMs(const Intervals& set) {
    uint64_t total = 0;
    for (const Interval& interval : set) total += interval.endMs - interval.startMs;
    return total;
}

// Only windows starting where an interval starts (or as late as the run
// allows) need trying: a window starting inside an interval loses nothing by
// moving back to that interval's start, as it gains on the left at least what
// it gives up on the right; one starting in a gap loses nothing by moving on
// to the next start, as nothing leaves it on the left.
uint64_t MostInAnyWindow(const Intervals& set, uint64_t windowMs, uint64_t runMs) {
    if (runMs <= windowMs) return TotalMs(set);
    std::vector<uint64_t> totalsBefore;
    uint64_t total = 0;
    for (const Interval& interval : set) {
        totalsBefore.push_back(total);
        total += interval.endMs - interval.startMs;
    }
    const uint64_t latestStart = runMs - windowMs;
    uint64_t most = 0;
    for (const Interval& interval : set) {
        const uint64_t from = std::min(interval.startMs, latestStart);
        const uint64_t inside =
            MeasureBefore(set, totalsBefore, from + windowMs) - MeasureBefore(set, totalsBefore, from);
        most = std::max(most, inside);
    }
    return most;
}

}  // namespace sim
