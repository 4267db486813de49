// The scenario corpus on the Linux build: each scenario under tests/corpus
// runs on the virtual clock, and what it leaves behind (console, debugger
// channel, exit status, modem and firmware logs, Windows event log, with their
// stamps) must equal the transcript pinned beside it. The Windows build runs
// the same corpus under Wine (tests/wine). With SAR_CORPUS_UPDATE=1 in the
// environment the pinned files are rewritten from this build's output instead.
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

const fs::path kCorpus = SAR_CORPUS_DIR;

std::string JoinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\n";
    return text;
}

bool Updating() {
    const char* update = std::getenv("SAR_CORPUS_UPDATE");
    return update != nullptr && std::string(update) == "1";
}

// The scenario directories the build found, comma-separated.
std::vector<std::string> ScenarioNames() {
    std::vector<std::string> names;
    std::istringstream list(SAR_CORPUS_SCENARIOS);
    for (std::string name; std::getline(list, name, ',');) names.push_back(name);
    std::sort(names.begin(), names.end());
    return names;
}

class Corpus : public testing::TestWithParam<std::string> {};

TEST_P(Corpus, RunLeavesThePinnedTranscript) {
    const fs::path scenario = kCorpus / GetParam();
    const ProgramRun run = RunProgram(ReadFile(scenario / "scenario.txt"));
    const std::vector<std::pair<std::string, std::string>> transcript = {
        {"console.txt", run.console},
        {"debugger.txt", run.debugger},
        {"exit-status", std::to_string(run.exitStatus) + "\n"},
        {"modem-log.txt", JoinLines(run.modemLog)},
        {"firmware-log.txt", JoinLines(run.firmwareLog)},
        {"events.txt", JoinLines(run.eventLog)},
    };
    for (const auto& [file, actual] : transcript) {
        if (Updating()) {
            std::ofstream(scenario / file, std::ios::binary) << actual;
            continue;
        }
        ASSERT_TRUE(fs::exists(scenario / file)) << scenario / file << " is missing (SAR_CORPUS_UPDATE=1 writes it)";
        EXPECT_EQ(ReadFile(scenario / file), actual) << "differs from " << scenario / file;
    }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, Corpus, testing::ValuesIn(ScenarioNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
