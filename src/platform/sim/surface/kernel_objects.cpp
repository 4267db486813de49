// Kernel objects of the simulated Windows surface: the table of handles, the
// events, and the waits on them, timed by the laptop's clock. Every waitable
// object's state changes under one lock and is announced on one condition,
// so any number of threads can wait on any objects; the state a wait looks
// at, and what a satisfied wait does to it, are each object's own.
#include "sim/surface/kernel_objects.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <new>
#include <optional>

#include "sim/model/surface_services.h"

namespace {

class Event final : public sim::WaitableObject {
public:
    Event(bool manualReset, bool signalled) : manualReset_(manualReset), signalled_(signalled) {}

    bool Signalled() const override { return signalled_; }

    // An auto-reset event lets one wait through, then resets.
    void Take() override {
        if (!manualReset_) signalled_ = false;
    }

    void Set() { signalled_ = true; }

private:
    const bool manualReset_;
    bool signalled_;
};

struct Kernel {
    std::mutex lock;
    std::condition_variable changed;
    std::map<HANDLE, std::shared_ptr<sim::KernelObject>> handles;
    uintptr_t lastHandle = 0;
};

// Never destroyed: static objects may close their handles at exit.
Kernel& TheKernel() {
    static Kernel* const kernel = new Kernel;
    return *kernel;
}

template <typename Result>
Result FailWith(DWORD error, Result result) {
    SetLastError(error);
    return result;
}

// The last error a failure the scenario injects leaves: the Win32 code of a
// FACILITY_WIN32 HRESULT, any other HRESULT as it is.
DWORD LastErrorOf(HRESULT fault) {
    const auto code = static_cast<DWORD>(fault);
    return (code & 0xFFFF0000u) == 0x80070000u ? code & 0xFFFFu : code;
}

// Under the kernel's lock: whether the object satisfies the wait, taking it
// if so.
bool Took(sim::WaitableObject& object) {
    if (!object.Signalled()) return false;
    object.Take();
    return true;
}

bool TookNow(sim::WaitableObject& object) {
    std::lock_guard guard(TheKernel().lock);
    return Took(object);
}

DWORD WaitOnRealClock(sim::WaitableObject& object, DWORD ms) {
    Kernel& kernel = TheKernel();
    std::unique_lock guard(kernel.lock);
    const auto took = [&object] { return Took(object); };
    if (ms == INFINITE) {
        kernel.changed.wait(guard, took);
        return WAIT_OBJECT_0;
    }
    return kernel.changed.wait_for(guard, std::chrono::milliseconds(ms), took) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

// On the virtual clock only its own timed work moves time: the wait advances
// the clock to the earlier of its deadline and the next work due, until the
// object is signalled. A wait without a time limit, with no work due, can
// only be ended by another thread.
DWORD WaitOnVirtualClock(sim::WaitableObject& object, DWORD ms) {
    const bool limited = ms != INFINITE;
    const uint64_t deadline = sim::NowMs() + (limited ? ms : 0);
    for (;;) {
        if (TookNow(object)) return WAIT_OBJECT_0;
        if (limited && sim::NowMs() >= deadline) return WAIT_TIMEOUT;
        if (const std::optional<uint64_t> due = sim::NextWorkDueMs(); due || limited) {
            sim::AdvanceTo(due && (!limited || *due < deadline) ? *due : deadline);
            continue;
        }
        Kernel& kernel = TheKernel();
        std::unique_lock guard(kernel.lock);
        kernel.changed.wait(guard, [&object] { return Took(object); });
        return WAIT_OBJECT_0;
    }
}

}  // namespace

HANDLE sim::NewHandle(std::shared_ptr<KernelObject> object) {
    Kernel& kernel = TheKernel();
    std::lock_guard guard(kernel.lock);
    try {
        // Like Windows' handles, multiples of 4 and never null.
        const auto handle = reinterpret_cast<HANDLE>(kernel.lastHandle + 4);
        kernel.handles.emplace(handle, std::move(object));
        kernel.lastHandle += 4;
        counters.handles.fetch_add(1);
        return handle;
    } catch (const std::bad_alloc&) {
        return FailWith(ERROR_NOT_ENOUGH_MEMORY, HANDLE{nullptr});
    }
}

std::shared_ptr<sim::KernelObject> sim::ObjectOf(HANDLE handle) {
    Kernel& kernel = TheKernel();
    std::lock_guard guard(kernel.lock);
    const auto found = kernel.handles.find(handle);
    return found == kernel.handles.end() ? nullptr : found->second;
}

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName) {
    if (const HRESULT fault = sim::TakeCallFault("CreateEventW"); FAILED(fault))
        return FailWith(LastErrorOf(fault), HANDLE{nullptr});
    if (lpName != nullptr) return FailWith(ERROR_NOT_SUPPORTED, HANDLE{nullptr});
    try {
        return sim::NewHandle(std::make_shared<Event>(bManualReset != FALSE, bInitialState != FALSE));
    } catch (const std::bad_alloc&) {
        return FailWith(ERROR_NOT_ENOUGH_MEMORY, HANDLE{nullptr});
    }
}

BOOL SetEvent(HANDLE hEvent) {
    const std::shared_ptr<sim::KernelObject> object = sim::ObjectOf(hEvent);
    auto* const event = dynamic_cast<Event*>(object.get());
    if (event == nullptr) return FailWith(ERROR_INVALID_HANDLE, FALSE);
    Kernel& kernel = TheKernel();
    {
        std::lock_guard guard(kernel.lock);
        event->Set();
    }
    kernel.changed.notify_all();
    return TRUE;
}

DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds) {
    if (const HRESULT fault = sim::TakeCallFault("WaitForSingleObject"); FAILED(fault))
        return FailWith(LastErrorOf(fault), WAIT_FAILED);
    const std::shared_ptr<sim::KernelObject> object = sim::ObjectOf(hHandle);
    auto* const waitable = dynamic_cast<sim::WaitableObject*>(object.get());
    if (waitable == nullptr) return FailWith(ERROR_INVALID_HANDLE, WAIT_FAILED);
    return sim::ClockIsVirtual() ? WaitOnVirtualClock(*waitable, dwMilliseconds)
                                 : WaitOnRealClock(*waitable, dwMilliseconds);
}

BOOL CloseHandle(HANDLE hObject) {
    Kernel& kernel = TheKernel();
    std::shared_ptr<sim::KernelObject> closed;  // goes outside the lock
    std::lock_guard guard(kernel.lock);
    const auto found = kernel.handles.find(hObject);
    if (found == kernel.handles.end()) return FailWith(ERROR_INVALID_HANDLE, FALSE);
    closed = std::move(found->second);
    kernel.handles.erase(found);
    sim::counters.handles.fetch_sub(1);
    return TRUE;
}
