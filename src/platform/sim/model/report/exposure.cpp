#include "sim/model/report/exposure.h"

#include <algorithm>

#include "sim/model/laptop_state.h"

namespace sim {
namespace {

// Radio and transmission as the laptop's timeline sets them, at each moment
// its state changes up to the end of the run.
void TraceTimeline(const RunRecord& record, IntervalBuilder& radioOn, IntervalBuilder& transmitting) {
    LaptopTimeline timeline(record.timeline);
    for (std::optional<uint64_t> atMs = 0; atMs && *atMs <= record.runMs; atMs = timeline.NextChangeMs()) {
        timeline.AdvanceTo(*atMs);
        const LaptopState& state = timeline.State();
        radioOn.Set(*atMs, state.radioOn);
        transmitting.Set(*atMs, state.radioOn && state.transmissionActive);
    }
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
