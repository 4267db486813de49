// The SAR exposure of a run, computed from its record:
//   transmitting: the laptop's timeline has the transmission active ("tx
//                 active", or the active part of a "tx cycle") while the
//                 radio is on;
//   WLAN power:   normal at start; reduced from each ExecINT that selected
//                 reduced, normal again from each that selected normal;
//   unprotected:  transmitting while WLAN power is normal.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "sim/model/report/intervals.h"
#include "sim/model/run_record.h"

namespace sim {

// The windows over which time-averaged SAR is judged: 30 s (6 GHz), 60 s
// (5 GHz), 100 s (below 3 GHz).
inline constexpr std::array<uint64_t, 3> kExposureWindowsMs = {30000, 60000, 100000};

struct RunIntervals {
    Intervals radioOn;
    Intervals transmitting;
    Intervals reduced;      // WLAN power reduced
    Intervals unprotected;  // transmitting at normal WLAN power
    Intervals reducedIdle;  // WLAN power reduced while not transmitting
};

// One maximal transmitting stretch.
struct ExposureSpan {
    uint64_t startMs = 0;
    uint64_t endMs = 0;
    std::optional<uint64_t> reducedMs;  // first moment inside it with WLAN power reduced
    uint64_t unprotectedMs = 0;

    bool operator==(const ExposureSpan&) const = default;
};

struct ExposureReport {
    uint64_t runMs = 0;
    uint64_t transmittingMs = 0;
    uint64_t unprotectedMs = 0;
    uint64_t reducedIdleMs = 0;
    std::vector<ExposureSpan> spans;
    uint64_t worstReactionMs = 0;  // a span never reduced counts whole
    std::array<uint64_t, kExposureWindowsMs.size()> windowUnprotectedMs{};

    bool operator==(const ExposureReport&) const = default;
};

// The run's states over [0, runMs].
RunIntervals DeriveIntervals(const RunRecord& record);

ExposureReport ComputeExposure(const RunRecord& record, const RunIntervals& intervals);

}  // namespace sim
