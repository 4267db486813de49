// Failures of the simulated components, reported as a real component reports
// them: the HRESULT, with restricted error information for the calling thread
// that describes it.
#pragma once

#include <cstdint>
#include <string>

#include "platform.h"

namespace sim {

// Sets the calling thread's restricted error information and returns code.
HRESULT OriginateError(HRESULT code, const std::wstring& message);

// S_OK, or the failure the scenario injects into the platform call named
// call ("fail NAME HRESULT"), originated as above.
HRESULT InjectedFault(const char* call);

// The failure of a call through an object of the modem of `generation`: the
// scenario's injected one first; then, once that modem was replaced ("modem
// replaced"), 0x80070015 (the device is not ready), originated as above.
HRESULT ModemFault(const char* call, uint32_t generation);

}  // namespace sim
