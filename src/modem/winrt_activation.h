// Activation of Windows Runtime classes: their statics come from
// RoGetActivationFactory. A thread without an apartment makes the process join
// the multithreaded apartment, which then lasts until the process ends.
#pragma once

#include "platform.h"

// A new reference to the statics of className as iid. On CO_E_NOTINITIALIZED
// the process joins the multithreaded apartment and asks once more; any other
// failure, or a second one, is raised.
void* ActivateStatics(const wchar_t* className, REFIID iid);

// The statics the modem side uses, activated on first use and kept, never
// released, until the process ends (they are usable from any thread).
winrt_abi::IMobileBroadbandModemStatics& ModemStatics();
winrt_abi::ICryptographicBufferStatics& CryptographicBufferStatics();
