#include "sim/model/report/run_reports.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "sim/model/clock.h"
#include "sim/model/laptop.h"
#include "sim/model/report/exposure.h"
#include "sim/model/report/exposure_json.h"
#include "sim/model/report/timeline_svg.h"
#include "sim/model/run_record.h"
#include "sim/model/sim_error.h"

namespace sim {
namespace {

struct ReportFile {
    const char* variable;
    std::string path;
    std::FILE* file = nullptr;
};

struct ReportFiles {
    ReportFile report{"SAR_SIM_REPORT", {}, nullptr};
    ReportFile timeline{"SAR_SIM_TIMELINE", {}, nullptr};
};

// Never destroyed: the exit handler writes them after static destructors.
ReportFiles& TheReportFiles() {
    static ReportFiles* files = new ReportFiles;
    return *files;
}

// Opened when the laptop is made, so that a path that cannot be written
// stops the run before it starts rather than losing it at the end.
bool OpenNamedFile(ReportFile& target) {
    const char* path = std::getenv(target.variable);
    if (path == nullptr || *path == '\0') return false;
    target.path = path;
    target.file = std::fopen(path, "w");
    if (target.file == nullptr) StopSimulation(std::string(target.variable) + ": cannot write " + path);
    return true;
}

void Write(ReportFile& target, const std::string& text) {
    if (target.file == nullptr) return;
    const bool written = std::fputs(text.c_str(), target.file) >= 0;
    if (std::fclose(target.file) != 0 || !written)
        std::fprintf(stderr, "simulated laptop: %s: writing %s failed\n", target.variable, target.path.c_str());
    target.file = nullptr;
}

void WriteRunReports() {
    const RunRecord record = FinishRecord(NowMs(), TheLaptop().AppliedEvents());
    const RunIntervals intervals = DeriveIntervals(record);
    const ExposureReport report = ComputeExposure(record, intervals);
    Write(TheReportFiles().report, ExposureJson(report));
    Write(TheReportFiles().timeline, TimelineSvg(record, intervals, report));
}

}  // namespace

void RegisterRunReportsAtExit() {
    const bool report = OpenNamedFile(TheReportFiles().report);
    const bool timeline = OpenNamedFile(TheReportFiles().timeline);
    if (!report && !timeline) return;
    StartRecording();
    std::atexit(WriteRunReports);
}

}  // namespace sim
