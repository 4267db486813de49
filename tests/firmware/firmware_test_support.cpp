#include "firmware_test_support.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "sim/model/clock.h"
#include "sim/model/event_log.h"
#include "sim/model/laptop.h"
#include "sim/surface/apartments.h"

namespace firmware_test {
namespace {

// Points stdout and stderr at one file for its lifetime, and back after.
class RedirectedOutput {
public:
    explicit RedirectedOutput(std::FILE* target) : savedOut_(dup(STDOUT_FILENO)), savedErr_(dup(STDERR_FILENO)) {
        std::fflush(stdout);
        std::fflush(stderr);
        dup2(fileno(target), STDOUT_FILENO);
        dup2(fileno(target), STDERR_FILENO);
    }
    ~RedirectedOutput() {
        std::fflush(stdout);
        std::fflush(stderr);
        dup2(savedOut_, STDOUT_FILENO);
        dup2(savedErr_, STDERR_FILENO);
        close(savedOut_);
        close(savedErr_);
    }
    RedirectedOutput(const RedirectedOutput&) = delete;
    RedirectedOutput& operator=(const RedirectedOutput&) = delete;

private:
    int savedOut_;
    int savedErr_;
};

std::string ReadAll(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, got);
    return text;
}

}  // namespace

void StartLaptop(const char* scenario) {
    sim::RestartVirtualClock();
    sim::TheLaptop().Load(sim::ParseScenario(scenario, "test"));
}

Channels CaptureChannels(const std::function<void()>& call) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    try {
        call();
    } catch (...) {
        testing::internal::GetCapturedStdout();
        testing::internal::GetCapturedStderr();
        throw;
    }
    std::string console = testing::internal::GetCapturedStdout();
    return {console, testing::internal::GetCapturedStderr()};
}

std::string CaptureInterleaved(const std::function<void()>& call) {
    std::FILE* stream = std::tmpfile();
    if (stream == nullptr) return "(no temporary file)";
    {
        const RedirectedOutput redirected(stream);
        call();
    }
    std::string text = ReadAll(stream);
    std::fclose(stream);
    return text;
}

std::vector<std::string> FirmwareLogDuring(const std::function<void()>& call) {
    const std::string path = testing::TempDir() + "firmware_log_" + std::to_string(getpid()) + ".txt";
    sim::FirmwareLog().Redirect(path);
    call();
    sim::FirmwareLog().Redirect("");
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    std::remove(path.c_str());
    return lines;
}

void NothingLeftBehind::TearDown() {
    const sim::LiveCounts after = sim::CurrentCounts();
    EXPECT_EQ(after.objects, before_.objects) << "COM objects left alive";
    EXPECT_EQ(after.bstrs, before_.bstrs) << "BSTRs left unfreed";
    EXPECT_EQ(after.apartments, before_.apartments) << "apartment entries not left";
    EXPECT_FALSE(sim::ThreadInApartment());
}

}  // namespace firmware_test
