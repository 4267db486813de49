#include "sim/model/report/timeline_svg.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace sim {
namespace {

constexpr double kWidth = 1400;
constexpr double kPlotLeft = 190;
constexpr double kPlotWidth = 1180;
constexpr double kFirstLaneTop = 64;
constexpr double kLaneHeight = 26;
constexpr double kLanePitch = 38;
constexpr int kLanes = 6;
constexpr double kAxisY = kFirstLaneTop + kLanes * kLanePitch;
constexpr double kLegendY = kAxisY + 44;
constexpr double kHeight = kLegendY + 56;
constexpr double kTickSpacingPx = 3;    // at most one modem tick of a kind per this many pixels
constexpr double kMarkerSpacingPx = 4;  // the same for firmware markers
constexpr int kMostAxisLabels = 14;

enum Lane { RadioLane, TransmittingLane, WlanLane, UnprotectedLane, CommandLane, FirmwareLane };

constexpr const char* kStyle =
    "text{font-family:sans-serif;font-size:12px;fill:#222}"
    ".title{font-size:16px;font-weight:bold}.label{font-size:13px}.axis{font-size:11px;fill:#444}"
    ".grid{stroke:#e3e3e3}.baseline{stroke:#444}"
    ".radio-on{fill:#74c476}.radio-off{fill:#e6e6e6}.tx{fill:#fd8d3c}"
    ".wlan-normal{fill:#c6dbef}.wlan-reduced{fill:#2171b5}"
    ".unprotected{fill:#d62728}.unprotected-band{fill:#d62728;fill-opacity:0.13}"
    ".tick-set{stroke:#525252}.tick-query{stroke:#a3a3a3}"
    ".tick-rejected{stroke:#d62728;stroke-width:2}.tick-failed{stroke:#000;stroke-width:1.6}"
    ".exec-reduce{fill:#08306b}.exec-normal{fill:#ffffff;stroke:#08306b;stroke-width:1.4}"
    ".exec-other{fill:#8c8c8c}";

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

std::string Seconds(uint64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", static_cast<double>(ms) / 1000.0);
    return text;
}

double LaneTop(Lane lane) { return kFirstLaneTop + static_cast<int>(lane) * kLanePitch; }

class TimelineDrawing {
public:
    explicit TimelineDrawing(uint64_t runMs) : runMs_(std::max<uint64_t>(runMs, 1)) {}

    double X(uint64_t ms) const {
        return kPlotLeft + static_cast<double>(ms) * kPlotWidth / static_cast<double>(runMs_);
    }

    // A stretch of time as a bar; at least a pixel wide, so that a short one
    // stays visible in a long run.
    void Bar(const char* cssClass, const Interval& interval, double top, double height, const std::string& title = {}) {
        const double left = X(interval.startMs);
        const double width = std::max(X(interval.endMs) - left, 1.0);
        svg_ += "<rect class=\"" + std::string(cssClass) + "\" x=\"" + Number(left) + "\" y=\"" + Number(top) +
                "\" width=\"" + Number(width) + "\" height=\"" + Number(height) + "\"";
        svg_ += title.empty() ? "/>\n" : "><title>" + title + "</title></rect>\n";
    }

    void Bars(const char* cssClass, const Intervals& set, Lane lane, double share = 1.0) {
        for (const Interval& interval : set)
            Bar(cssClass, interval, LaneTop(lane) + kLaneHeight * (1 - share), kLaneHeight * share,
                Seconds(interval.startMs) + " to " + Seconds(interval.endMs));
    }

    void Line(const char* cssClass, double x1, double y1, double x2, double y2) {
        svg_ += "<line class=\"" + std::string(cssClass) + "\" x1=\"" + Number(x1) + "\" y1=\"" + Number(y1) +
                "\" x2=\"" + Number(x2) + "\" y2=\"" + Number(y2) + "\"/>\n";
    }

    void Text(const std::string& text, double x, double y, const char* cssClass = nullptr,
              const char* anchor = nullptr) {
        svg_ += "<text x=\"" + Number(x) + "\" y=\"" + Number(y) + "\"";
        if (cssClass != nullptr) svg_ += " class=\"" + std::string(cssClass) + "\"";
        if (anchor != nullptr) svg_ += " text-anchor=\"" + std::string(anchor) + "\"";
        svg_ += ">" + text + "</text>\n";
    }

    void Raw(const std::string& text) { svg_ += text; }
    void Group(const char* id) { svg_ += "<g id=\"" + std::string(id) + "\">\n"; }
    void EndGroup() { svg_ += "</g>\n"; }
    std::string Finish() { return std::move(svg_); }

private:
    const uint64_t runMs_;
    std::string svg_;
};

// Keeps the first of each kind per few pixels; says whether any was dropped.
template <typename Item, size_t Kinds>
std::vector<std::pair<const Item*, size_t>> Thin(const std::vector<Item>& items, size_t (*kindOf)(const Item&),
                                                 const TimelineDrawing& drawing, double spacingPx, bool& thinned) {
    std::vector<std::pair<const Item*, size_t>> kept;
    std::vector<std::array<bool, Kinds>> taken(static_cast<size_t>(kPlotWidth / spacingPx) + 2);
    thinned = false;
    for (const Item& item : items) {
        const size_t kind = kindOf(item);
        const auto bucket = static_cast<size_t>(std::max(drawing.X(item.atMs) - kPlotLeft, 0.0) / spacingPx);
        bool& seen = taken[std::min(bucket, taken.size() - 1)][kind];
        if (seen) {
            thinned = true;
            continue;
        }
        seen = true;
        kept.emplace_back(&item, kind);
    }
    return kept;
}

enum CommandKind { SetCommand, QueryCommand, RejectedCommand, FailedCommand, kCommandKinds };

size_t KindOfCommand(const ModemCommand& command) {
    if (command.sendFailure != 0) return FailedCommand;
    if (command.status != 0) return RejectedCommand;
    return command.isSet ? SetCommand : QueryCommand;
}

void DrawCommandTick(TimelineDrawing& drawing, double x, size_t kind) {
    const double top = LaneTop(CommandLane);
    const double middle = top + kLaneHeight / 2;
    switch (kind) {
    case SetCommand: drawing.Line("tick-set", x, top + 2, x, middle); break;
    case QueryCommand: drawing.Line("tick-query", x, middle, x, top + kLaneHeight - 2); break;
    case RejectedCommand: drawing.Line("tick-rejected", x, top, x, top + kLaneHeight); break;
    default:
        drawing.Line("tick-failed", x - 4, top + 2, x + 4, top + 10);
        drawing.Line("tick-failed", x - 4, top + 10, x + 4, top + 2);
        drawing.Line("tick-failed", x, top + 10, x, top + kLaneHeight);
    }
}

void DrawCommands(TimelineDrawing& drawing, const std::vector<ModemCommand>& commands) {
    bool thinned = false;
    const auto kept = Thin<ModemCommand, kCommandKinds>(commands, KindOfCommand, drawing, kTickSpacingPx, thinned);
    drawing.Group("lane-modem-commands");
    drawing.Text("Modem commands (" + std::to_string(commands.size()) + ")", 12, LaneTop(CommandLane) + 13, "label");
    if (thinned) drawing.Text("merged: one tick per 3 px", 12, LaneTop(CommandLane) + 27, "axis");
    for (const auto& [command, kind] : kept) DrawCommandTick(drawing, drawing.X(command->atMs), kind);
    drawing.EndGroup();
}

size_t KindOfExecution(const FirmwareExecution& execution) { return static_cast<size_t>(execution.selected); }

std::string ExecutionTitle(const FirmwareExecution& execution) {
    std::string title = Seconds(execution.atMs) + " ExecINT";
    for (const uint32_t value : execution.registers) title += " " + std::to_string(value);
    return title;
}

void DrawExecution(TimelineDrawing& drawing, const FirmwareExecution& execution) {
    const double x = drawing.X(execution.atMs);
    const double top = LaneTop(FirmwareLane) + 4;
    const double bottom = LaneTop(FirmwareLane) + kLaneHeight - 4;
    const std::string title = "<title>" + ExecutionTitle(execution) + "</title>";
    switch (execution.selected) {
    case WlanSelection::Reduced:
        drawing.Raw("<polygon class=\"exec-reduce\" points=\"" + Number(x - 7) + "," + Number(top) + " " +
                    Number(x + 7) + "," + Number(top) + " " + Number(x) + "," + Number(bottom) + "\">" + title +
                    "</polygon>\n");
        break;
    case WlanSelection::Normal:
        drawing.Raw("<polygon class=\"exec-normal\" points=\"" + Number(x - 7) + "," + Number(bottom) + " " +
                    Number(x + 7) + "," + Number(bottom) + " " + Number(x) + "," + Number(top) + "\">" + title +
                    "</polygon>\n");
        break;
    case WlanSelection::None:
        drawing.Raw("<circle class=\"exec-other\" cx=\"" + Number(x) + "\" cy=\"" + Number((top + bottom) / 2) +
                    "\" r=\"5\">" + title + "</circle>\n");
        break;
    }
}

void DrawExecutions(TimelineDrawing& drawing, const std::vector<FirmwareExecution>& executions) {
    bool thinned = false;
    const auto kept = Thin<FirmwareExecution, 3>(executions, KindOfExecution, drawing, kMarkerSpacingPx, thinned);
    drawing.Group("lane-firmware");
    drawing.Text("Firmware ExecINT (" + std::to_string(executions.size()) + ")", 12, LaneTop(FirmwareLane) + 13,
                 "label");
    if (thinned) drawing.Text("merged: one marker per 4 px", 12, LaneTop(FirmwareLane) + 27, "axis");
    for (const auto& [execution, kind] : kept) DrawExecution(drawing, *execution);
    drawing.EndGroup();
}

void DrawLane(TimelineDrawing& drawing, const char* id, const std::string& label, Lane lane) {
    drawing.Group(id);
    drawing.Text(label, 12, LaneTop(lane) + 17, "label");
}

void DrawStateLanes(TimelineDrawing& drawing, const RunIntervals& intervals, uint64_t runMs) {
    const Intervals wholeRun = runMs > 0 ? Intervals{{0, runMs}} : Intervals{};
    DrawLane(drawing, "lane-radio", "Modem radio", RadioLane);
    drawing.Bars("radio-off", Subtract(wholeRun, intervals.radioOn), RadioLane);
    drawing.Bars("radio-on", intervals.radioOn, RadioLane);
    drawing.EndGroup();
    DrawLane(drawing, "lane-transmitting", "Modem transmitting", TransmittingLane);
    drawing.Bars("tx", intervals.transmitting, TransmittingLane);
    drawing.EndGroup();
    DrawLane(drawing, "lane-wlan-power", "WLAN power", WlanLane);
    drawing.Bars("wlan-normal", Subtract(wholeRun, intervals.reduced), WlanLane);
    drawing.Bars("wlan-reduced", intervals.reduced, WlanLane, 0.5);
    drawing.EndGroup();
    DrawLane(drawing, "lane-unprotected", "Unprotected", UnprotectedLane);
    drawing.Bars("unprotected", intervals.unprotected, UnprotectedLane);
    for (const Interval& interval : intervals.unprotected)
        drawing.Bar("unprotected-band", interval, kFirstLaneTop - 4, kLanes * kLanePitch);
    drawing.EndGroup();
}

uint64_t AxisStepSeconds(uint64_t runMs) {
    for (const uint64_t step : {1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 900, 1800, 3600})
        if (runMs / 1000 / step < kMostAxisLabels) return step;
    return 7200;
}

void DrawAxis(TimelineDrawing& drawing, uint64_t runMs) {
    drawing.Group("axis");
    drawing.Line("baseline", kPlotLeft, kAxisY, kPlotLeft + kPlotWidth, kAxisY);
    const uint64_t stepMs = AxisStepSeconds(runMs) * 1000;
    for (uint64_t ms = 0; ms <= runMs; ms += stepMs) {
        const double x = drawing.X(ms);
        drawing.Line("grid", x, kFirstLaneTop - 6, x, kAxisY);
        drawing.Line("baseline", x, kAxisY, x, kAxisY + 5);
        drawing.Text(std::to_string(ms / 1000), x, kAxisY + 18, "axis", "middle");
    }
    drawing.Text("time (s)", kPlotLeft - 14, kAxisY + 18, "axis", "end");
    drawing.EndGroup();
}

void DrawLegend(TimelineDrawing& drawing) {
    struct Entry {
        const char* swatch;
        const char* text;
    };
    static constexpr Entry kEntries[] = {
        {"<rect class=\"radio-on\" width=\"14\" height=\"10\"/>", "radio on"},
        {"<rect class=\"radio-off\" width=\"14\" height=\"10\"/>", "radio off"},
        {"<rect class=\"tx\" width=\"14\" height=\"10\"/>", "transmitting"},
        {"<rect class=\"wlan-normal\" width=\"14\" height=\"10\"/>", "WLAN normal"},
        {"<rect class=\"wlan-reduced\" y=\"5\" width=\"14\" height=\"5\"/>", "WLAN reduced"},
        {"<rect class=\"unprotected\" width=\"14\" height=\"10\"/>", "unprotected: transmitting at normal WLAN power"},
        {"<line class=\"tick-set\" x1=\"7\" y1=\"0\" x2=\"7\" y2=\"10\"/>", "set command"},
        {"<line class=\"tick-query\" x1=\"7\" y1=\"0\" x2=\"7\" y2=\"10\"/>", "query command"},
        {"<line class=\"tick-rejected\" x1=\"7\" y1=\"0\" x2=\"7\" y2=\"10\"/>", "rejected (MBIM status not 0)"},
        {"<path class=\"tick-failed\" d=\"M3 0L11 8M3 8L11 0\"/>", "failed to reach the modem"},
        {"<polygon class=\"exec-reduce\" points=\"0,0 14,0 7,10\"/>", "ExecINT: reduce"},
        {"<polygon class=\"exec-normal\" points=\"0,10 14,10 7,0\"/>", "ExecINT: normal"},
        {"<circle class=\"exec-other\" cx=\"7\" cy=\"5\" r=\"5\"/>", "ExecINT: other"},
    };
    drawing.Group("legend");
    double x = 12;
    double y = kLegendY;
    for (const Entry& entry : kEntries) {
        const double width = 24 + 6.6 * static_cast<double>(std::char_traits<char>::length(entry.text)) + 18;
        if (x + width > kWidth) {
            x = 12;
            y += 22;
        }
        drawing.Raw("<g transform=\"translate(" + Number(x) + "," + Number(y - 10) + ")\">" + entry.swatch + "</g>\n");
        drawing.Text(entry.text, x + 20, y);
        x += width;
    }
    drawing.EndGroup();
}

std::string Summary(const ExposureReport& report) {
    std::string text = "run " + Seconds(report.runMs) + "; transmitting " + Seconds(report.transmittingMs) +
                       ", unprotected " + Seconds(report.unprotectedMs) + ", WLAN reduced while idle " +
                       Seconds(report.reducedIdleMs) + "; worst reaction " + Seconds(report.worstReactionMs) +
                       "; most unprotected in 30/60/100 s:";
    for (const uint64_t ms : report.windowUnprotectedMs) text += " " + Seconds(ms);
    return text;
}

}  // namespace

std::string TimelineSvg(const RunRecord& record, const RunIntervals& intervals, const ExposureReport& report) {
    TimelineDrawing drawing(record.runMs);
    drawing.Raw("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" +
                Number(kWidth) + "\" height=\"" + Number(kHeight) + "\" viewBox=\"0 0 " + Number(kWidth) + " " +
                Number(kHeight) + "\">\n<style>" + kStyle + "</style>\n");
    drawing.Raw("<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n");
    drawing.Text("SAR exposure on the simulated laptop", 12, 22, "title");
    drawing.Text(Summary(report), 12, 42);
    DrawAxis(drawing, record.runMs);
    DrawStateLanes(drawing, intervals, record.runMs);
    DrawCommands(drawing, record.commands);
    DrawExecutions(drawing, record.executions);
    DrawLegend(drawing);
    drawing.Raw("</svg>\n");
    return drawing.Finish();
}

}  // namespace sim
