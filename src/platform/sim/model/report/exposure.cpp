#include "exposure.h"

#include <algorithm>

namespace sim {
namespace {

// Radio and transmission as the timeline's events set them, in file order.
void TraceTimeline(const RunRecord& record, IntervalBuilder& radioOn, IntervalBuilder& transmitting) {
    bool radio = true;
    bool active = false;
    radioOn.Set(0, true);
    for (const ScenarioEvent& event : record.timeline) {
        if (event.atMs > record.runMs) break;
        if (event.kind != EventKind::Radio && event.kind != EventKind::Transmission) continue;
        (event.kind == EventKind::Radio ? radio : active) = event.flag;
        radioOn.Set(event.atMs, radio);
        transmitting.Set(event.atMs, radio && active);
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
