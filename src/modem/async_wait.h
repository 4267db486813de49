// Waiting for an asynchronous modem command: the platform completes it from a
// thread of its own, and the calling thread blocks, with no time limit, until
// it has.
#pragma once

#include "platform.h"
#include "win/com_ptr.h"

// Registers a completion handler, blocks until it has run (also when the
// operation completed before it was registered), then returns the command
// result. A failure of the registration or of GetResults is raised.
com_ptr<winrt_abi::IMobileBroadbandDeviceServiceCommandResult> WaitForCommandResult(
    winrt_abi::ICommandResultAsyncOperation& operation);
