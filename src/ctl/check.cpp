#include "check.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "checks.h"

namespace {

const char* VerdictText(Verdict verdict) {
    switch (verdict) {
    case Verdict::Pass: return "PASS";
    case Verdict::Warn: return "WARN";
    case Verdict::Fail: break;
    }
    return "FAIL";
}

std::vector<CheckResult> RunChecks() {
    std::vector<CheckResult> results{CheckProcessToken()};
    for (CheckResult& result : CheckModemSide()) results.push_back(std::move(result));
    results.push_back(CheckFirmware());
    return results;
}

// The first failed check, which keeps the laptop from being protected;
// nullptr when none failed.
const CheckResult* FirstFailure(const std::vector<CheckResult>& results) {
    const auto failed = std::find_if(results.begin(), results.end(),
                                     [](const CheckResult& result) { return result.verdict == Verdict::Fail; });
    return failed == results.end() ? nullptr : &*failed;
}

// The detail on one line: a platform's message may hold line breaks.
std::string OneLine(std::string text) {
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
    return text;
}

// A line per check, "PASS|WARN|FAIL <name>: <detail>", then the summary.
void PrintText(const std::vector<CheckResult>& results) {
    for (const CheckResult& result : results)
        printf("%s %s: %s\n", VerdictText(result.verdict), result.name, OneLine(result.detail).c_str());
    if (const CheckResult* failed = FirstFailure(results))
        printf("NOT READY: the %s check failed, so this laptop cannot be protected\n", failed->name);
    else
        printf("READY: this laptop can be protected\n");
}

// One JSON object on one line: "ready", "firstFailure" and "checks".
void PrintJson(const std::vector<CheckResult>& results) {
    std::string checks;
    for (const CheckResult& result : results) {
        JsonFields check;
        check.Text("name", result.name).Text("verdict", VerdictText(result.verdict)).Text("detail", result.detail);
        if (!result.facts.empty()) check.Json("facts", result.facts.Object());
        checks += (checks.empty() ? "" : ",") + check.Object();
    }
    const CheckResult* failed = FirstFailure(results);
    JsonFields report;
    report.Flag("ready", failed == nullptr)
        .Json("firstFailure", failed == nullptr ? "null" : JsonString(failed->name))
        .Json("checks", "[" + checks + "]");
    printf("%s\n", report.Object().c_str());
}

}  // namespace

int RunCheck(CheckOutput output) {
    const std::vector<CheckResult> results = RunChecks();
    if (output == CheckOutput::Json)
        PrintJson(results);
    else
        PrintText(results);
    return FirstFailure(results) == nullptr ? kExitReady : kExitNotReady;
}

