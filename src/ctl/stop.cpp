#include "stop.h"

#include <cstdio>
#include <string>

#include "win/hresult_error.h"
#include "win/owned_handle.h"
#include "win/program_objects.h"

namespace {

// The Win32 error as "0x80070005 - Access is denied.".
int StillRuns(const char* what, DWORD error) {
    printf("%s: %s\n", what, PlatformFailureText(HRESULT_FROM_WIN32(error)).c_str());
    return kExitProgramStillRuns;
}

// Sets the program's stop event; false, with the last error, when it cannot.
bool AskToStop() {
    const OwnedHandle stop(OpenEventW(EVENT_MODIFY_STATE, FALSE, kStopEventName));
    return stop && SetEvent(stop.get());
}

}  // namespace

int RunStop(DWORD waitSeconds) {
    const OwnedHandle running(OpenMutexW(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, kRunningMutexName));
    if (!running) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) return StillRuns("cannot tell whether sar-coordinator runs", error);
        printf("sar-coordinator is not running\n");
        return kExitProgramEnded;
    }
    if (!AskToStop()) return StillRuns("sar-coordinator runs but cannot be asked to stop", GetLastError());
    switch (WaitForSingleObject(running.get(), waitSeconds * 1000)) {
    case WAIT_OBJECT_0:
    case WAIT_ABANDONED:
        // The wait took the mutex: given back at once, so that the program's
        // next start finds it free.
        ReleaseMutex(running.get());
        printf("sar-coordinator was asked to stop and has ended\n");
        return kExitProgramEnded;
    case WAIT_TIMEOUT:
        printf("sar-coordinator was asked to stop but still runs after %u s\n", static_cast<unsigned>(waitSeconds));
        return kExitProgramStillRuns;
    default: return StillRuns("cannot tell whether sar-coordinator has ended", GetLastError());
    }
}
