// Process-wide COM security of the simulated Windows surface.
#pragma once

#include "platform.h"

namespace sim {

// The impersonation level CoInitializeSecurity set; COM's default (identify)
// before it.
DWORD InitializedImpersonationLevel();

}  // namespace sim
