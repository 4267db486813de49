// The scenario corpora on the Linux build, each scenario on the virtual
// clock, what it leaves behind equal to the transcript pinned beside it:
// - tests/corpus: the program's runs (console, debugger channel, exit status,
//   modem and firmware logs and the Windows event log, with their stamps);
// - tests/check-corpus: the companion's `check` and `check --json` (what each
//   prints, the exit status and the modem log), which moreover send no set
//   command and execute no firmware method, and write nothing on the debugger
//   channel.
// The Windows build runs both corpora under Wine (tests/wine). With
// SAR_CORPUS_UPDATE=1 in the environment the pinned files are rewritten from
// this build's output instead.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "program_run.h"

namespace {

namespace fs = std::filesystem;

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

bool Updating() {
    const char* update = std::getenv("SAR_CORPUS_UPDATE");
    return update != nullptr && std::string(update) == "1";
}

// The scenario directories the build found, from a comma-separated list.
std::vector<std::string> ScenarioNames(const char* list) {
    std::vector<std::string> names;
    std::istringstream stream(list);
    for (std::string name; std::getline(stream, name, ',');) names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

std::string TestName(const testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

// Each (file, actual text) against the file pinned in `scenario`, or written
// there when updating.
void CompareWithPinned(const fs::path& scenario, const std::vector<std::pair<std::string, std::string>>& transcript) {
    for (const auto& [file, actual] : transcript) {
        if (Updating()) {
            std::ofstream(scenario / file, std::ios::binary) << actual;
            continue;
        }
        ASSERT_TRUE(fs::exists(scenario / file)) << scenario / file << " is missing (SAR_CORPUS_UPDATE=1 writes it)";
        EXPECT_EQ(ReadFile(scenario / file), actual) << "differs from " << scenario / file;
    }
}

class Corpus : public testing::TestWithParam<std::string> {};

TEST_P(Corpus, RunLeavesThePinnedTranscript) {
    const fs::path scenario = fs::path(SAR_CORPUS_DIR) / GetParam();
    const ProgramRun run = RunProgram(ReadFile(scenario / "scenario.txt"));
    CompareWithPinned(scenario, {
                                    {"console.txt", run.console},
                                    {"debugger.txt", run.debugger},
                                    {"exit-status", std::to_string(run.exitStatus) + "\n"},
                                    {"modem-log.txt", JoinLines(run.modemLog)},
                                    {"firmware-log.txt", JoinLines(run.firmwareLog)},
                                    {"events.txt", JoinLines(run.eventLog)},
                                });
}

INSTANTIATE_TEST_SUITE_P(Scenarios, Corpus, testing::ValuesIn(ScenarioNames(SAR_CORPUS_SCENARIOS)), TestName);

class CheckCorpus : public testing::TestWithParam<std::string> {};

TEST_P(CheckCorpus, CheckReadsOnlyAndLeavesThePinnedTranscript) {
    const fs::path scenario = fs::path(SAR_CHECK_CORPUS_DIR) / GetParam();
    const std::string timeline = ReadFile(scenario / "scenario.txt");
    const std::string ctl = SAR_COORDINATOR_CTL_EXE;
    const ProgramRun text = RunProgram(timeline, {}, 60, ctl + " check");
    const ProgramRun json = RunProgram(timeline, {}, 60, ctl + " check --json");
    for (const ProgramRun* run : {&text, &json}) {
        EXPECT_EQ(LinesWith(run->modemLog, " set "), std::vector<std::string>{}) << "the check sent a set command";
        EXPECT_EQ(LinesWith(run->firmwareLog, "ExecINT"), std::vector<std::string>{}) << "the check executed ExecINT";
        EXPECT_EQ(run->debugger, "");
    }
    EXPECT_EQ(json.exitStatus, text.exitStatus);
    EXPECT_EQ(json.modemLog, text.modemLog);
    CompareWithPinned(scenario, {
                                    {"check.txt", text.console},
                                    {"check.json", json.console},
                                    {"exit-status", std::to_string(text.exitStatus) + "\n"},
                                    {"modem-log.txt", JoinLines(text.modemLog)},
                                });
}

INSTANTIATE_TEST_SUITE_P(Scenarios, CheckCorpus, testing::ValuesIn(ScenarioNames(SAR_CHECK_CORPUS_SCENARIOS)),
                         TestName);

// What the Windows build cannot vary under Wine, and the command line: the
// token the check runs with; `stop` on the simulated laptop, where no other
// process's program can be found (its objects are per process); and
// arguments the verbs do not take, which get one line of usage, status 2,
// and no modem command.
TEST(Companion, TokenStopAndCommandLine) {
    const std::string usage = "usage: sar-coordinator-ctl check [--json] | stop [--wait SECONDS]\n";
    const struct {
        const char* arguments;
        const char* scenario;
        std::string firstLine;
        int exitStatus;
    } rows[] = {
        {"check", "0 token user\n", "WARN token: LAPTOP\\user, not elevated, not LocalSystem: the firmware method "
                                    "usually refuses a token that is not elevated\n", 0},
        {"check", "0 token system\n", "PASS token: NT AUTHORITY\\SYSTEM, elevated, LocalSystem\n", 0},
        {"", "", usage, 2},
        {"chek", "", usage, 2},
        {"check --json --json", "", usage, 2},
        {"check -json", "", usage, 2},
        {"stop --wait 0", "", "sar-coordinator is not running\n", 0},
        {"stop --wait", "", usage, 2},
        {"stop --wait 3601", "", usage, 2},
        {"stop --wait -1", "", usage, 2},
        {"stop 15", "", usage, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        const ProgramRun run =
            RunProgram(std::string(row.scenario) + "60 radio off\n", {}, 60,
                       std::string(SAR_COORDINATOR_CTL_EXE) + " " + row.arguments);
        EXPECT_EQ(run.console.substr(0, run.console.find('\n') + 1), row.firstLine);
        EXPECT_EQ(run.exitStatus, row.exitStatus);
        if (row.exitStatus == 2) {
            EXPECT_EQ(run.console, usage);
            EXPECT_EQ(run.modemLog, std::vector<std::string>{});
        }
    }
}

}  // namespace
