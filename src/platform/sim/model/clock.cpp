#include "sim/model/clock.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "sim/model/sim_error.h"

namespace sim {
namespace {

using Steady = std::chrono::steady_clock;

class Work;

// A thread of the real clock's work, with whether it has finished, so that a
// finished one is joined at the next scheduling and none is left unjoined.
struct WorkThread {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> finished;
};

// The clock and its pending work. One lock guards the virtual time, the queue
// of work on the virtual clock and the due moments of work on the real clock;
// no work runs under it.
struct Clock {
    std::atomic<bool> isVirtual{false};
    const Steady::time_point start = Steady::now();

    std::mutex lock;
    std::condition_variable changed;  // real clock: work brought forward or dropped
    std::atomic<uint64_t> virtualMs{0};
    // Virtual clock: pending work by due moment, then by order of scheduling.
    std::map<std::pair<uint64_t, uint64_t>, std::shared_ptr<Work>> queue;
    uint64_t scheduled = 0;
    uint64_t drops = 0;  // DropTimedWork calls so far: work scheduled before the last one is dropped
    std::vector<WorkThread> threads;

    Clock() {
        const char* mode = std::getenv("SAR_SIM_CLOCK");
        if (mode == nullptr || std::strcmp(mode, "real") == 0) return;
        if (std::strcmp(mode, "virtual") != 0)
            StopSimulation("SAR_SIM_CLOCK must be 'virtual' or 'real', not '" + Shown(mode) + "'");
        isVirtual = true;
    }

    uint64_t Now() const {
        if (isVirtual) return virtualMs.load();
        return static_cast<uint64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Steady::now() - start).count());
    }
};

// Never destroyed: work may still be pending, or its threads running, while
// the process's static objects go.
Clock& TheClock() {
    static Clock* const clock = new Clock;
    return *clock;
}

class Work final : public TimedWork {
public:
    Work(uint64_t dueMs, uint64_t order, uint64_t drops, std::function<void()> run)
        : dueMs_(dueMs), order_(order), drops_(drops), run_(std::move(run)) {}

    void BringForward(uint64_t ms) override {
        Clock& clock = TheClock();
        std::lock_guard guard(clock.lock);
        const uint64_t dueMs = clock.Now() + ms;
        if (started_ || dropped(clock) || dueMs >= dueMs_) return;
        if (clock.isVirtual) {
            auto entry = clock.queue.extract(Key());
            dueMs_ = dueMs;
            entry.key() = Key();
            clock.queue.insert(std::move(entry));
        } else {
            dueMs_ = dueMs;
            clock.changed.notify_all();
        }
    }

    std::pair<uint64_t, uint64_t> Key() const { return {dueMs_, order_}; }

    // Under the clock's lock: marks the work started and hands out what it
    // runs.
    std::function<void()> Start() {
        started_ = true;
        return std::move(run_);
    }

    // Real clock: sleeps until the work is due, then runs it; dropped work
    // ends without running.
    void SleepThenRun() {
        Clock& clock = TheClock();
        std::function<void()> run;
        bool wasDropped = false;
        {
            std::unique_lock guard(clock.lock);
            while (!dropped(clock) && clock.Now() < dueMs_)
                clock.changed.wait_until(guard, clock.start + std::chrono::milliseconds(dueMs_));
            wasDropped = dropped(clock);
            run = wasDropped ? std::exchange(run_, nullptr) : Start();
        }
        // What dropped work held goes with `run`, outside the lock.
        if (!wasDropped) run();
    }

private:
    bool dropped(const Clock& clock) const { return drops_ != clock.drops; }

    uint64_t dueMs_;
    const uint64_t order_;
    const uint64_t drops_;
    bool started_ = false;
    std::function<void()> run_;
};

// Joins the threads of the real clock's work that have finished; all of
// them when `all`, after they were told to end.
void JoinThreads(Clock& clock, bool all) {
    std::vector<WorkThread> joining;
    {
        std::lock_guard guard(clock.lock);
        const auto done = std::partition(clock.threads.begin(), clock.threads.end(),
                                         [all](const WorkThread& t) { return !all && !t.finished->load(); });
        std::move(done, clock.threads.end(), std::back_inserter(joining));
        clock.threads.erase(done, clock.threads.end());
    }
    for (WorkThread& finished : joining) finished.thread.join();
}

void StartThread(Clock& clock, const std::shared_ptr<Work>& work) {
    JoinThreads(clock, false);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    std::lock_guard guard(clock.lock);
    clock.threads.reserve(clock.threads.size() + 1);  // so that a started thread is always kept
    std::thread thread([work, finished] {
        work->SleepThenRun();
        finished->store(true);
    });
    clock.threads.push_back({std::move(thread), std::move(finished)});
}

// Virtual clock: takes the first work due by ms off the queue and moves the
// clock to its moment.
std::function<void()> TakeWorkDueBy(Clock& clock, uint64_t ms) {
    std::lock_guard guard(clock.lock);
    if (clock.queue.empty() || clock.queue.begin()->first.first > ms) return nullptr;
    auto entry = clock.queue.extract(clock.queue.begin());
    clock.virtualMs = std::max(clock.virtualMs.load(), entry.key().first);
    return entry.mapped()->Start();
}

}  // namespace

bool ClockIsVirtual() { return TheClock().isVirtual; }

uint64_t NowMs() { return TheClock().Now(); }

void PassMs(uint64_t ms) {
    if (ClockIsVirtual())
        AdvanceTo(NowMs() + ms);
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void AdvanceTo(uint64_t ms) {
    Clock& clock = TheClock();
    while (std::function<void()> run = TakeWorkDueBy(clock, ms)) std::thread(std::move(run)).join();
    std::lock_guard guard(clock.lock);
    clock.virtualMs = std::max(clock.virtualMs.load(), ms);
}

std::optional<uint64_t> NextWorkDueMs() {
    Clock& clock = TheClock();
    std::lock_guard guard(clock.lock);
    if (clock.queue.empty()) return std::nullopt;
    return clock.queue.begin()->first.first;
}

std::shared_ptr<TimedWork> RunAfter(uint64_t ms, std::function<void()> run) {
    Clock& clock = TheClock();
    std::shared_ptr<Work> work;
    {
        std::lock_guard guard(clock.lock);
        work = std::make_shared<Work>(clock.Now() + ms, clock.scheduled++, clock.drops, std::move(run));
        if (clock.isVirtual) clock.queue.emplace(work->Key(), work);
    }
    if (!clock.isVirtual) StartThread(clock, work);
    return work;
}

void DropTimedWork() {
    Clock& clock = TheClock();
    std::map<std::pair<uint64_t, uint64_t>, std::shared_ptr<Work>> dropped;
    {
        std::lock_guard guard(clock.lock);
        ++clock.drops;
        dropped.swap(clock.queue);
    }
    clock.changed.notify_all();
    JoinThreads(clock, true);
}

void RestartVirtualClock() {
    DropTimedWork();
    Clock& clock = TheClock();
    std::lock_guard guard(clock.lock);
    clock.isVirtual = true;
    clock.virtualMs = 0;
}

}  // namespace sim
