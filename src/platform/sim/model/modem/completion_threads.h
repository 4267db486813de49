// The threads on which the simulated components complete asynchronous
// operations: one per operation, each joined once it has finished (at the
// latest when the process ends), so none outlives the process's clean-up.
#pragma once

#include <functional>

namespace sim {

// Runs work on a new thread of its own. Throws std::system_error when no
// thread can be started.
void RunOnCompletionThread(std::function<void()> work);

}  // namespace sim
