#include "program_run.h"

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

namespace {

std::vector<std::string> ReadLines(const fs::path& path) {
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    return lines;
}

fs::path MakeRunDirectory() {
    std::string pattern = (fs::temp_directory_path() / "sar-run-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot make a temporary directory");
    return pattern;
}

// The command that runs `commandLine` in `directory`; `redirections` say
// where its output goes. A run still going after `timeoutSeconds` is ended.
std::string Command(const fs::path& directory, const std::string& scenario, const std::string& extraEnvironment,
                    double timeoutSeconds, const std::string& commandLine, const std::string& redirections) {
    std::string environment = "SAR_SIM_CLOCK=virtual SAR_SIM_FIRMWARE_LOG=" + (directory / "firmware.log").string() +
                              " SAR_SIM_MODEM_LOG=" + (directory / "modem.log").string() +
                              " SAR_SIM_EVENT_LOG=" + (directory / "events.log").string() +
                              " SAR_SIM_REPORT=" + (directory / "report.json").string() +
                              " SAR_SIM_TIMELINE=" + (directory / "timeline.svg").string();
    if (!scenario.empty()) {
        std::ofstream(directory / "scenario.txt") << scenario;
        environment += " SAR_SIM_SCENARIO=" + (directory / "scenario.txt").string();
    }
    return "env -u SAR_SIM_SCENARIO " + environment + " " + extraEnvironment + " timeout -k 5 " +
           std::to_string(timeoutSeconds) + " " + commandLine + " " + redirections + " </dev/null";
}

}  // namespace

ProgramRun RunProgram(const std::string& scenario, const std::string& extraEnvironment, double timeoutSeconds,
                      const std::string& commandLine) {
    const fs::path directory = MakeRunDirectory();
    const std::string redirections =
        ">" + (directory / "console").string() + " 2>" + (directory / "debugger").string();
    const int status =
        std::system(Command(directory, scenario, extraEnvironment, timeoutSeconds, commandLine, redirections).c_str());

    ProgramRun run;
    run.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.console = ReadFile(directory / "console");
    run.debugger = ReadFile(directory / "debugger");
    run.firmwareLog = ReadLines(directory / "firmware.log");
    run.modemLog = ReadLines(directory / "modem.log");
    run.eventLog = ReadLines(directory / "events.log");
    run.report = ReadFile(directory / "report.json");
    run.timeline = ReadFile(directory / "timeline.svg");
    fs::remove_all(directory);
    return run;
}

std::string RunProgramInOneStream(const std::string& scenario) {
    const fs::path directory = MakeRunDirectory();
    const std::string redirections = ">" + (directory / "stream").string() + " 2>&1";
    if (std::system(Command(directory, scenario, {}, 60, SAR_COORDINATOR_EXE, redirections).c_str()) == -1)
        throw std::runtime_error("cannot start the program");
    std::string stream = ReadFile(directory / "stream");
    fs::remove_all(directory);
    return stream;
}

std::vector<std::string> LinesWith(const std::vector<std::string>& lines, const std::string& word) {
    std::vector<std::string> found;
    for (const std::string& line : lines)
        if (line.find(word) != std::string::npos) found.push_back(line);
    return found;
}
