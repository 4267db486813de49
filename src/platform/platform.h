// The one header through which the system reaches the platform: the real
// Windows headers on Windows, the simulated Windows surface elsewhere, and on
// both our declarations of the Windows Runtime interfaces the modem side uses.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <sddl.h>
#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>
#include <roapi.h>
#include <winstring.h>
#include "win/sdk_additions.h"
#else
#include "sim/surface/windows_sim.h"
#endif

#include "winrt_abi.h"
