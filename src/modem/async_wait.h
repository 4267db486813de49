// Waiting for an asynchronous modem command: the platform completes it from a
// thread of its own, and the calling thread blocks until it has, for at most
// kCommandWaitMs. A modem that never answers (a firmware stall, the mobile
// broadband service restarting) must not stop the caller for good.
#pragma once

#include "platform.h"
#include "win/com_ptr.h"

// How long a command may take before its wait gives up.
inline constexpr DWORD kCommandWaitMs = 10000;

// The failure a command that did not complete in time raises:
// HRESULT_FROM_WIN32(ERROR_TIMEOUT).
inline constexpr HRESULT kCommandTimedOut = static_cast<HRESULT>(0x800705B4u);

// Registers a completion handler, blocks until it has run (also when the
// operation completed before it was registered), then returns the command
// result. A failure of the registration or of GetResults is raised. When the
// command has not completed within kCommandWaitMs, the operation is cancelled
// and hresult_error with kCommandTimedOut is raised; its completion may still
// come later, and is harmless then.
com_ptr<winrt_abi::IMobileBroadbandDeviceServiceCommandResult> WaitForCommandResult(
    winrt_abi::ICommandResultAsyncOperation& operation);
