// Kernel objects of the simulated Windows surface: the table of handles, the
// table of names, events and mutexes, and the waits on them, timed by the
// laptop's clock. Every waitable object's state changes under one lock and is
// announced on one condition, so any number of threads can wait on any
// objects; the state a wait looks at, and what a satisfied wait does to it,
// are each object's own. Names are the process's own: the simulated laptop
// runs one process, so another process never finds them.
#include "sim/surface/kernel_objects.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "sim/model/surface_services.h"

namespace {

class Event final : public sim::WaitableObject {
public:
    Event(bool manualReset, bool signalled) : manualReset_(manualReset), signalled_(signalled) {}

    bool Signalled() const override { return signalled_; }

    // An auto-reset event lets one wait through, then resets.
    DWORD Take() override {
        if (!manualReset_) signalled_ = false;
        return WAIT_OBJECT_0;
    }

    void Set() { signalled_ = true; }

private:
    const bool manualReset_;
    bool signalled_;
};

// A mutex: free, or held by one thread, as many times as that thread took it.
// A thread that ends while it holds the mutex abandons it, and the wait that
// takes it next returns WAIT_ABANDONED.
class Mutex final : public sim::WaitableObject, public std::enable_shared_from_this<Mutex> {
public:
    bool Signalled() const override { return holds_ == 0 || owner_ == std::this_thread::get_id(); }
    DWORD Take() override;

    // False when the calling thread does not hold the mutex.
    bool Release() {
        if (holds_ == 0 || owner_ != std::this_thread::get_id()) return false;
        if (--holds_ == 0) owner_ = {};
        return true;
    }

    void Abandon(std::thread::id thread) {
        if (holds_ == 0 || owner_ != thread) return;
        holds_ = 0;
        owner_ = {};
        abandoned_ = true;
    }

private:
    std::thread::id owner_;
    unsigned holds_ = 0;
    bool abandoned_ = false;
};

struct Kernel {
    std::mutex lock;
    std::condition_variable changed;
    std::map<HANDLE, std::shared_ptr<sim::KernelObject>> handles;
    uintptr_t lastHandle = 0;
    // A name refers to its object while a handle to it is open.
    std::map<std::wstring, std::weak_ptr<sim::KernelObject>, std::less<>> names;
};

// Never destroyed: static objects may close their handles at exit.
Kernel& TheKernel() {
    static Kernel* const kernel = new Kernel;
    return *kernel;
}

// The mutexes a thread has taken; when the thread ends, it abandons those it
// still holds.
struct HeldMutexes {
    std::vector<std::weak_ptr<Mutex>> mutexes;

    ~HeldMutexes() {
        Kernel& kernel = TheKernel();
        {
            std::lock_guard guard(kernel.lock);
            for (const std::weak_ptr<Mutex>& held : mutexes)
                if (const std::shared_ptr<Mutex> mutex = held.lock()) mutex->Abandon(std::this_thread::get_id());
        }
        kernel.changed.notify_all();
    }
};

thread_local HeldMutexes heldByThisThread;

// Under the kernel's lock.
DWORD Mutex::Take() {
    if (holds_++ == 0) {
        owner_ = std::this_thread::get_id();
        std::vector<std::weak_ptr<Mutex>>& held = heldByThisThread.mutexes;
        const bool known = std::any_of(held.begin(), held.end(),
                                       [this](const std::weak_ptr<Mutex>& other) { return other.lock().get() == this; });
        if (!known) held.push_back(weak_from_this());
    }
    return std::exchange(abandoned_, false) ? WAIT_ABANDONED : WAIT_OBJECT_0;
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

// Under the kernel's lock: what the wait returns if the object satisfies it
// now, taking it; nothing if it does not.
std::optional<DWORD> Took(sim::WaitableObject& object) {
    if (!object.Signalled()) return std::nullopt;
    return object.Take();
}

std::optional<DWORD> TookNow(sim::WaitableObject& object) {
    std::lock_guard guard(TheKernel().lock);
    return Took(object);
}

DWORD WaitOnRealClock(sim::WaitableObject& object, DWORD ms) {
    Kernel& kernel = TheKernel();
    std::unique_lock guard(kernel.lock);
    std::optional<DWORD> result;
    const auto took = [&] { return (result = Took(object)).has_value(); };
    if (ms == INFINITE)
        kernel.changed.wait(guard, took);
    else
        kernel.changed.wait_for(guard, std::chrono::milliseconds(ms), took);
    return result.value_or(WAIT_TIMEOUT);
}

// On the virtual clock only its own timed work moves time: the wait advances
// the clock to the earlier of its deadline and the next work due, until the
// object is signalled. A wait without a time limit, with no work due, can
// only be ended by another thread.
DWORD WaitOnVirtualClock(sim::WaitableObject& object, DWORD ms) {
    const bool limited = ms != INFINITE;
    const uint64_t deadline = sim::NowMs() + (limited ? ms : 0);
    for (;;) {
        if (const std::optional<DWORD> result = TookNow(object)) return *result;
        if (limited && sim::NowMs() >= deadline) return WAIT_TIMEOUT;
        if (const std::optional<uint64_t> due = sim::NextWorkDueMs(); due || limited) {
            sim::AdvanceTo(due && (!limited || *due < deadline) ? *due : deadline);
            continue;
        }
        Kernel& kernel = TheKernel();
        std::unique_lock guard(kernel.lock);
        std::optional<DWORD> result;
        kernel.changed.wait(guard, [&] { return (result = Took(object)).has_value(); });
        return *result;
    }
}

// Under the kernel's lock.
HANDLE AddHandle(Kernel& kernel, std::shared_ptr<sim::KernelObject> object) {
    try {
        // Like Windows' handles, multiples of 4 and never null.
        const auto handle = reinterpret_cast<HANDLE>(kernel.lastHandle + 4);
        kernel.handles.emplace(handle, std::move(object));
        kernel.lastHandle += 4;
        sim::counters.handles.fetch_add(1);
        return handle;
    } catch (const std::bad_alloc&) {
        return FailWith(ERROR_NOT_ENOUGH_MEMORY, HANDLE{nullptr});
    }
}

// Under the kernel's lock: the live object of the kind Object that `name`
// refers to; null with the last error set when there is none
// (ERROR_FILE_NOT_FOUND) or the name is another kind's (ERROR_INVALID_HANDLE).
template <typename Object>
std::shared_ptr<Object> Named(Kernel& kernel, LPCWSTR name) {
    const auto found = kernel.names.find(std::wstring_view(name));
    const std::shared_ptr<sim::KernelObject> object =
        found == kernel.names.end() ? nullptr : found->second.lock();
    if (object == nullptr) return FailWith(ERROR_FILE_NOT_FOUND, std::shared_ptr<Object>());
    std::shared_ptr<Object> typed = std::dynamic_pointer_cast<Object>(object);
    if (typed == nullptr) SetLastError(ERROR_INVALID_HANDLE);
    return typed;
}

// Makes an object with make(), or, when `name` refers to one already, opens
// that one, ignoring the attributes (the last error is ERROR_ALREADY_EXISTS
// then, and 0 for a new object). A new object carries the descriptor of the
// attributes; one they do not allow is refused (DescriptorForNewObject).
template <typename Object, typename Make>
HANDLE CreateNamed(LPSECURITY_ATTRIBUTES attributes, LPCWSTR name, Make make) {
    DWORD refused = 0;
    std::optional<sim::SecurityDescriptor> security = sim::DescriptorForNewObject(attributes, refused);
    Kernel& kernel = TheKernel();
    std::lock_guard guard(kernel.lock);
    if (name != nullptr) {
        if (const std::shared_ptr<Object> existing = Named<Object>(kernel, name)) {
            const HANDLE handle = AddHandle(kernel, existing);
            if (handle != nullptr) SetLastError(ERROR_ALREADY_EXISTS);
            return handle;
        }
        if (GetLastError() != ERROR_FILE_NOT_FOUND) return nullptr;
    }
    if (!security) return FailWith(refused, HANDLE{nullptr});
    try {
        const std::shared_ptr<Object> object = make();
        object->security = std::move(*security);
        if (name != nullptr) kernel.names[name] = object;
        const HANDLE handle = AddHandle(kernel, object);
        if (handle != nullptr) SetLastError(0);
        return handle;
    } catch (const std::bad_alloc&) {
        return FailWith(ERROR_NOT_ENOUGH_MEMORY, HANDLE{nullptr});
    }
}

template <typename Object>
HANDLE OpenNamed(LPCWSTR name) {
    if (name == nullptr) return FailWith(ERROR_INVALID_PARAMETER, HANDLE{nullptr});
    Kernel& kernel = TheKernel();
    std::lock_guard guard(kernel.lock);
    const std::shared_ptr<Object> object = Named<Object>(kernel, name);
    return object == nullptr ? nullptr : AddHandle(kernel, object);
}

template <typename Object>
std::shared_ptr<Object> ObjectOfKind(HANDLE handle) {
    return std::dynamic_pointer_cast<Object>(sim::ObjectOf(handle));
}

}  // namespace

HANDLE sim::NewHandle(std::shared_ptr<KernelObject> object) {
    Kernel& kernel = TheKernel();
    std::lock_guard guard(kernel.lock);
    return AddHandle(kernel, std::move(object));
}

std::shared_ptr<sim::KernelObject> sim::ObjectOf(HANDLE handle) {
    Kernel& kernel = TheKernel();
    std::lock_guard guard(kernel.lock);
    const auto found = kernel.handles.find(handle);
    return found == kernel.handles.end() ? nullptr : found->second;
}

HANDLE CreateEventW(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName) {
    if (const HRESULT fault = sim::TakeCallFault("CreateEventW"); FAILED(fault))
        return FailWith(LastErrorOf(fault), HANDLE{nullptr});
    return CreateNamed<Event>(lpEventAttributes, lpName, [=] {
        return std::make_shared<Event>(bManualReset != FALSE, bInitialState != FALSE);
    });
}

HANDLE OpenEventW(DWORD, BOOL, LPCWSTR lpName) { return OpenNamed<Event>(lpName); }

HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCWSTR lpName) {
    return CreateNamed<Mutex>(lpMutexAttributes, lpName, [=] {
        auto mutex = std::make_shared<Mutex>();
        if (bInitialOwner != FALSE) mutex->Take();
        return mutex;
    });
}

HANDLE OpenMutexW(DWORD, BOOL, LPCWSTR lpName) { return OpenNamed<Mutex>(lpName); }

BOOL ReleaseMutex(HANDLE hMutex) {
    const std::shared_ptr<Mutex> mutex = ObjectOfKind<Mutex>(hMutex);
    if (mutex == nullptr) return FailWith(ERROR_INVALID_HANDLE, FALSE);
    Kernel& kernel = TheKernel();
    {
        std::lock_guard guard(kernel.lock);
        if (!mutex->Release()) return FailWith(ERROR_NOT_OWNER, FALSE);
    }
    kernel.changed.notify_all();
    return TRUE;
}

BOOL SetEvent(HANDLE hEvent) {
    const std::shared_ptr<Event> event = ObjectOfKind<Event>(hEvent);
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
    const std::shared_ptr<sim::WaitableObject> waitable = ObjectOfKind<sim::WaitableObject>(hHandle);
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
