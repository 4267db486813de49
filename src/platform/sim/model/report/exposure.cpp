#include "sim/model/report/exposure.h"

#include <algorithm>

#include "sim/model/laptop.h"

namespace sim {
namespace {

// Radio and transmission as the timeline's events set them, in file order. A
// transmission cycle switches transmission on and off by itself until the
// next transmission event.
class TimelineTracer {
public:
    TimelineTracer(IntervalBuilder& radioOn, IntervalBuilder& transmitting)
        : radioOn_(radioOn), transmitting_(transmitting) {
        radioOn_.Set(0, true);
    }

    void Apply(const ScenarioEvent& event) {
        RunCycleUntil(event.atMs);
        if (event.kind == EventKind::Radio) radio_ = event.flag;
        if (event.kind == EventKind::Transmission) {
            active_ = event.flag;
            cycling_ = false;
        }
        if (event.kind == EventKind::TransmissionCycle) {
            cycle_ = TransmissionCycle{event.atMs, event.value, event.idleMs};
            cycling_ = true;
            active_ = true;
            nextSwitchMs_ = event.atMs + cycle_.activeMs;
        }
        radioOn_.Set(event.atMs, radio_);
        transmitting_.Set(event.atMs, radio_ && active_);
    }

    // Every switch of the cycle in force before endMs.
    void RunCycleUntil(uint64_t endMs) {
        if (!cycling_) return;
        const uint64_t periodMs = uint64_t{cycle_.activeMs} + cycle_.idleMs;
        for (; nextSwitchMs_ < endMs; nextSwitchMs_ = NextSwitch(periodMs)) {
            active_ = cycle_.ActiveAt(nextSwitchMs_);
            transmitting_.Set(nextSwitchMs_, radio_ && active_);
        }
    }

private:
    uint64_t NextSwitch(uint64_t periodMs) const {
        const uint64_t intoPeriod = (nextSwitchMs_ - cycle_.startMs) % periodMs;
        return nextSwitchMs_ - intoPeriod + (intoPeriod < cycle_.activeMs ? cycle_.activeMs : periodMs);
    }

    IntervalBuilder& radioOn_;
    IntervalBuilder& transmitting_;
    bool radio_ = true;
    bool active_ = false;
    bool cycling_ = false;
    TransmissionCycle cycle_;
    uint64_t nextSwitchMs_ = 0;
};

void TraceTimeline(const RunRecord& record, IntervalBuilder& radioOn, IntervalBuilder& transmitting) {
    TimelineTracer tracer(radioOn, transmitting);
    for (const ScenarioEvent& event : record.timeline) {
        if (event.atMs > record.runMs) break;
        tracer.Apply(event);
    }
    tracer.RunCycleUntil(record.runMs);
}

Intervals TraceWlanReduced(const RunRecord& record) {
    IntervalBuilder reduced;
    for (const FirmwareExecution& execution : record.executions) {
        if (execution.atMs > record.runMs) break;
        if (execution.selected != WlanSelection::None)
            reduced.Set(execution.atMs, execution.selected == WlanSelection::Reduced);
    }
    return reduced.Close(record.runMs);
}

ExposureSpan MeasureSpan(const Interval& span, const Intervals& reduced) {
    ExposureSpan measured{span.startMs, span.endMs, std::nullopt, 0};
    const Intervals reducedInside = Intersect({span}, reduced);
    if (!reducedInside.empty()) measured.reducedMs = reducedInside.front().startMs;
    measured.unprotectedMs = (span.endMs - span.startMs) - TotalMs(reducedInside);
    return measured;
}

}  // namespace

RunIntervals DeriveIntervals(const RunRecord& record) {
    IntervalBuilder radioOn;
    IntervalBuilder transmitting;
    TraceTimeline(record, radioOn, transmitting);
    RunIntervals intervals;
    intervals.radioOn = radioOn.Close(record.runMs);
    intervals.transmitting = transmitting.Close(record.runMs);
    intervals.reduced = TraceWlanReduced(record);
    intervals.unprotected = Subtract(intervals.transmitting, intervals.reduced);
    intervals.reducedIdle = Subtract(intervals.reduced, intervals.transmitting);
    return intervals;
}

ExposureReport ComputeExposure(const RunRecord& record, const RunIntervals& intervals) {
    ExposureReport report;
    report.runMs = record.runMs;
    report.transmittingMs = TotalMs(intervals.transmitting);
    report.unprotectedMs = TotalMs(intervals.unprotected);
    report.reducedIdleMs = TotalMs(intervals.reducedIdle);
    for (const Interval& span : intervals.transmitting) {
        const ExposureSpan& measured = report.spans.emplace_back(MeasureSpan(span, intervals.reduced));
        const uint64_t reactionMs = measured.reducedMs.value_or(measured.endMs) - measured.startMs;
        report.worstReactionMs = std::max(report.worstReactionMs, reactionMs);
    }
    for (size_t i = 0; i < kExposureWindowsMs.size(); ++i)
        report.windowUnprotectedMs[i] = MostInAnyWindow(intervals.unprotected, kExposureWindowsMs[i], record.runMs);
    return report;
}

}  // namespace sim
