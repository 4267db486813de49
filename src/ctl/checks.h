// The checks of `sar-coordinator-ctl check`, in the order they run and are
// reported. Each reads and changes nothing: no modem command but queries, no
// firmware method executed.
#pragma once

#include <vector>

#include "check_result.h"

// 1. The process token: account, elevated, LocalSystem. Warns when the token
// is not elevated or cannot be read.
CheckResult CheckProcessToken();

// 2. The default modem and its device information; 3. its SAR device service
// and a command session on it; 4. the SAR configuration, queried; 5. the
// transmission status, queried (it warns at worst: the program sets the
// transmission status before it queries it, and the check does not). A check
// whose predecessor failed is reported as not checked.
std::vector<CheckResult> CheckModemSide();

// 6. The firmware's WMI class, its method and instances.
CheckResult CheckFirmware();
