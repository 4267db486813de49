// Check 6: the firmware's WMI class, through the firmware component's
// read-only look, which never executes the method.
#include <cstdio>
#include <string>

#include "checks.h"
#include "firmware/firmware_inspection.h"
#include "win/hresult_error.h"
#include "win/text.h"

namespace {

constexpr char kFirmware[] = "firmware";

// "0x80041002 - Not found", or "not run" for a step an earlier one kept
// from running.
std::string StatusText(HRESULT status) {
    if (status == kStepNotRun) return "not run";
    return PlatformFailureText(status);
}

std::string HexStatus(HRESULT status) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(status));
    return text;
}

std::string Joined(const std::vector<std::wstring>& names) {
    std::string text;
    for (const std::wstring& name : names) text += (text.empty() ? "" : ", ") + Utf8(name);
    return text;
}

std::string NamesJson(const std::vector<std::wstring>& names) {
    std::string json;
    for (const std::wstring& name : names) json += (json.empty() ? "" : ",") + JsonString(Utf8(name));
    return "[" + json + "]";
}

// The verdict and detail: the first thing missing, in the order the program
// needs them, else what was found.
void Judge(const FirmwareInspection& found, CheckResult& result) {
    const auto fail = [&result](std::string detail) { result.detail = std::move(detail); };
    if (found.connection != 0) return fail("root\\wmi does not connect: " + StatusText(found.connection));
    if (found.classDefinition != 0)
        return fail("root\\wmi has no class QelButtonMethodDWSi: " + StatusText(found.classDefinition));
    if (found.method != 0) return fail("QelButtonMethodDWSi has no method ExecINT: " + StatusText(found.method));
    if (!found.missingInputs.empty())
        return fail("the input signature of ExecINT lacks " + Joined(found.missingInputs) + " (as CIM_UINT32)");
    if (!found.outputHasOutEDX) return fail("the output signature of ExecINT lacks OutEDX");
    if (found.instanceQuery != 0)
        return fail("the instances of QelButtonMethodDWSi cannot be listed: " + StatusText(found.instanceQuery));
    if (found.instances == 0) return fail("QelButtonMethodDWSi has no instance to execute ExecINT on");
    result.verdict = found.instances == 1 ? Verdict::Pass : Verdict::Warn;
    result.detail = "root\\wmi connects; QelButtonMethodDWSi has ExecINT with InEAX to InEDI in and OutEDX out; " +
                    std::to_string(found.instances) + (found.instances == 1 ? " instance" : " instances");
    if (found.instances > 1) result.detail += ": the program uses the first";
}

}  // namespace

CheckResult CheckFirmware() {
    const FirmwareInspection found = InspectFirmware();
    CheckResult result{Verdict::Fail, kFirmware, {}, {}};
    Judge(found, result);
    result.facts.Text("connection", HexStatus(found.connection))
        .Text("classDefinition", HexStatus(found.classDefinition))
        .Text("method", HexStatus(found.method))
        .Json("missingInputs", NamesJson(found.missingInputs))
        .Flag("outputHasOutEDX", found.outputHasOutEDX)
        .Text("instanceQuery", HexStatus(found.instanceQuery))
        .Number("instances", found.instances);
    return result;
}
