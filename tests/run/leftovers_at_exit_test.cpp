// Every run on the simulated platform checks at exit that everything the
// platform handed out came back: a program that keeps something ends with
// status 4 and one line per kind kept. The program's own runs (whole_run_test)
// end with their own statuses, so the program-wide modem objects, released
// at exit, are back before the check.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "program_run.h"

namespace {

struct Outcome {
    int exitStatus = -1;
    std::string errors;
};

Outcome RunLeakyProgram(const std::string& kinds) {
    const std::string errors = testing::TempDir() + "leftovers_" + std::to_string(getpid()) + ".txt";
    const int status = std::system((std::string(LEAKY_PROGRAM) + " " + kinds + " 2>" + errors).c_str());
    Outcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(errors)};
    std::remove(errors.c_str());
    return outcome;
}

TEST(LeftoversAtExit, EachKindKeptIsReportedOnItsOwnLineWithStatus4) {
    const struct {
        const char* kinds;
        int exitStatus;
        std::string errors;
    } rows[] = {
        {"", 0, ""},
        {"mta", 0, ""},  // membership of the multithreaded apartment lasts until exit by design
        {"object", 4, "simulated laptop: at exit, 1 COM objects not released\n"},
        {"bstr", 4, "simulated laptop: at exit, 1 BSTRs not freed (SysFreeString)\n"},
        {"hstring", 4, "simulated laptop: at exit, 1 HSTRINGs not deleted (WindowsDeleteString)\n"},
        {"task-memory", 4, "simulated laptop: at exit, 1 CoTaskMem blocks not freed (CoTaskMemFree)\n"},
        {"apartment", 4,
         "simulated laptop: at exit, 1 apartment entries not left (CoUninitialize, RoUninitialize)\n"},
        {"handle", 4, "simulated laptop: at exit, 1 kernel handles not closed (CloseHandle)\n"},
        {"event-source", 4,
         "simulated laptop: at exit, 1 event sources not deregistered (DeregisterEventSource)\n"},
        {"bstr task-memory bstr", 4,
         "simulated laptop: at exit, 2 BSTRs not freed (SysFreeString)\n"
         "simulated laptop: at exit, 1 CoTaskMem blocks not freed (CoTaskMemFree)\n"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.kinds);
        const Outcome outcome = RunLeakyProgram(row.kinds);
        EXPECT_EQ(outcome.exitStatus, row.exitStatus);
        EXPECT_EQ(outcome.errors, row.errors);
    }
}

}  // namespace
