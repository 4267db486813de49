// The simulated Windows surface: the names the system uses, with the
// signatures they have on Windows, served by the simulated laptop.
#pragma once

#include "sim/surface/win_com.h"
#include "sim/surface/win_eventlog.h"
#include "sim/surface/win_kernel.h"
#include "sim/surface/win_security.h"
#include "sim/surface/win_types.h"
#include "sim/surface/win_wbem.h"
#include "sim/surface/win_winrt.h"
