// Apartments of the simulated platform, per thread, as COM keeps them:
// CoInitialize enters a single-threaded apartment (S_OK, S_FALSE when already
// in one, RPC_E_CHANGED_MODE on a multithreaded thread); RoInitialize
// (multithreaded) the mirror image; CoIncrementMTAUsage keeps the process's
// implicit multithreaded apartment alive for threads without one of their own.
#pragma once

namespace sim {

// True when the calling thread can use COM: it has entered an apartment, or
// the process holds the implicit multithreaded apartment.
bool ThreadCanUseCom();

// True when the calling thread has explicitly entered an apartment.
bool ThreadInApartment();

}  // namespace sim
