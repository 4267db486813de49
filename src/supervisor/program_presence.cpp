#include "program_presence.h"

#include <cstdio>
#include <memory>
#include <utility>

#include "win/program_objects.h"

namespace {

// Owned by Administrators, with a protected DACL that grants all access
// (MUTEX_ALL_ACCESS, EVENT_ALL_ACCESS) to SYSTEM and to Administrators and
// nothing to anyone else: only they can set the event or take the mutex.
// Specific rights rather than GA, so that the DACL Windows keeps is the one
// written here, with no generic mapping in between.
constexpr wchar_t kRunningMutexSddl[] = L"O:BAD:P(A;;0x1f0001;;;SY)(A;;0x1f0001;;;BA)";
constexpr wchar_t kStopEventSddl[] = L"O:BAD:P(A;;0x1f0003;;;SY)(A;;0x1f0003;;;BA)";

struct LocalRelease {
    void operator()(void* block) const { LocalFree(block); }
};

// Whether Administrators own the object, as they own every object the
// program makes.
bool OwnedByAdministrators(HANDLE object) {
    alignas(8) BYTE descriptor[128];  // a self-relative header and one SID
    DWORD needed = 0;
    PSID owner = nullptr;
    BOOL defaulted = FALSE;
    return GetKernelObjectSecurity(object, OWNER_SECURITY_INFORMATION, descriptor, sizeof descriptor, &needed) &&
           GetSecurityDescriptorOwner(descriptor, &owner, &defaulted) && owner != nullptr &&
           IsWellKnownSid(owner, WinBuiltinAdministratorsSid);
}

struct NamedObject {
    OwnedHandle handle;     // null when the program cannot have the object
    bool existed = false;   // made before, by Administrators
    DWORD error = 0;        // why there is no handle
};

// The object that create(attributes) makes with the descriptor `sddl`, or
// the one of that name an administrator made before; not one someone else
// made first.
template <typename Create>
NamedObject MakeOrOpen(const wchar_t* sddl, Create create) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return {nullptr, false, GetLastError()};
    const std::unique_ptr<void, LocalRelease> freed(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    OwnedHandle handle(create(&attributes));
    const DWORD error = GetLastError();
    if (!handle) return {nullptr, false, error};
    if (error != ERROR_ALREADY_EXISTS) return {std::move(handle), false, 0};
    if (!OwnedByAdministrators(handle.get())) return {nullptr, false, ERROR_ALREADY_EXISTS};
    return {std::move(handle), true, 0};
}

}  // namespace

ProgramPresence::~ProgramPresence() {
    if (running_) ReleaseMutex(running_.get());
}

ProgramPresence::Start ProgramPresence::Claim() {
    NamedObject running = MakeOrOpen(kRunningMutexSddl, [](LPSECURITY_ATTRIBUTES attributes) {
        return CreateMutexW(attributes, TRUE, kRunningMutexName);
    });
    if (running.existed) return Start::AlreadyRunning;
    if (!running.handle) {
        printf("\nRunning without its named objects (error %u): a second instance is not refused, and "
               "sar-coordinator-ctl stop cannot end this run",
               static_cast<unsigned>(running.error));
        return Start::Alone;
    }
    running_ = std::move(running.handle);
    NamedObject stop = MakeOrOpen(kStopEventSddl, [](LPSECURITY_ATTRIBUTES attributes) {
        return CreateEventW(attributes, TRUE, FALSE, kStopEventName);
    });
    if (!stop.handle)
        printf("\nRunning without its stop event (error %u): sar-coordinator-ctl stop cannot end this run",
               static_cast<unsigned>(stop.error));
    stop_ = std::move(stop.handle);
    return Start::Alone;
}

bool ProgramPresence::StopRequestedWithin(DWORD ms) const {
    if (stop_) {
        const DWORD waited = WaitForSingleObject(stop_.get(), ms);
        if (waited == WAIT_OBJECT_0) return true;
        if (waited == WAIT_TIMEOUT) return false;
    }
    // The pause as a plain sleep, so that a wait that fails at once never
    // turns the loop into a spin.
    Sleep(ms);
    return false;
}
