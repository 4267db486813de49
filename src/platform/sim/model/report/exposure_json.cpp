#include "sim/model/report/exposure_json.h"

namespace sim {
namespace {

std::string Field(const std::string& name, uint64_t value) {
    return "\"" + name + "\": " + std::to_string(value);
}

std::string SpanJson(const ExposureSpan& span) {
    return "{" + Field("start_ms", span.startMs) + ", " + Field("end_ms", span.endMs) + ", \"reduced_ms\": " +
           (span.reducedMs ? std::to_string(*span.reducedMs) : "null") + ", " +
           Field("unprotected_ms", span.unprotectedMs) + "}";
}

}  // namespace

std::string ExposureJson(const ExposureReport& report) {
    std::string json = "{\n";
    json += "  " + Field("run_ms", report.runMs) + ",\n";
    json += "  " + Field("transmitting_ms", report.transmittingMs) + ",\n";
    json += "  " + Field("unprotected_ms", report.unprotectedMs) + ",\n";
    json += "  " + Field("reduced_idle_ms", report.reducedIdleMs) + ",\n";
    json += "  \"spans\": [";
    for (size_t i = 0; i < report.spans.size(); ++i)
        json += (i == 0 ? "\n    " : ",\n    ") + SpanJson(report.spans[i]);
    json += report.spans.empty() ? "],\n" : "\n  ],\n";
    json += "  " + Field("worst_reaction_ms", report.worstReactionMs) + ",\n";
    json += "  \"window_unprotected_ms\": {";
    for (size_t i = 0; i < kExposureWindowsMs.size(); ++i)
        json += (i == 0 ? "" : ", ") + Field(std::to_string(kExposureWindowsMs[i]), report.windowUnprotectedMs[i]);
    json += "}\n}\n";
    return json;
}

}  // namespace sim
