#include "sim/model/modem/completion_threads.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace sim {
namespace {

class CompletionThreads {
public:
    ~CompletionThreads() {
        std::lock_guard lock(mutex_);
        for (Entry& entry : entries_) entry.thread.join();
    }

    void Run(std::function<void()> work) {
        std::lock_guard lock(mutex_);
        JoinFinished();
        entries_.reserve(entries_.size() + 1);  // so that a started thread is always kept
        auto finished = std::make_shared<std::atomic<bool>>(false);
        std::thread thread([work = std::move(work), finished] {
            work();
            finished->store(true);
        });
        entries_.push_back({std::move(thread), std::move(finished)});
    }

private:
    struct Entry {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> finished;
    };

    void JoinFinished() {
        std::erase_if(entries_, [](Entry& entry) {
            if (!entry.finished->load()) return false;
            entry.thread.join();
            return true;
        });
    }

    std::mutex mutex_;
    std::vector<Entry> entries_;
};

CompletionThreads& TheCompletionThreads() {
    static CompletionThreads threads;
    return threads;
}

}  // namespace

void RunOnCompletionThread(std::function<void()> work) { TheCompletionThreads().Run(std::move(work)); }

}  // namespace sim
