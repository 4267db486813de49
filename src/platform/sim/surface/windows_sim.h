// The simulated Windows surface: the names the system uses, with the
// signatures they have on Windows, served by the simulated laptop.
#pragma once

#include "win_com.h"
#include "win_kernel.h"
#include "win_types.h"
#include "win_wbem.h"
#include "win_winrt.h"
