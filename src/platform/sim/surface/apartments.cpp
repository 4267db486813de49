#include "sim/surface/apartments.h"

#include <atomic>

#include "platform.h"
#include "sim/model/surface_services.h"

namespace {

enum class Apartment { None, SingleThreaded, MultiThreaded };

struct ThreadApartment {
    Apartment kind = Apartment::None;
    int entries = 0;
};

thread_local ThreadApartment current;
std::atomic<long> implicitMtaUsers{0};

HRESULT Enter(Apartment kind, const char* callName) {
    if (const HRESULT fault = sim::TakeCallFault(callName); FAILED(fault)) return fault;
    if (current.kind != Apartment::None && current.kind != kind) return RPC_E_CHANGED_MODE;
    const bool already = current.kind == kind;
    current.kind = kind;
    ++current.entries;
    sim::counters.apartments.fetch_add(1);
    return already ? S_FALSE : S_OK;
}

void Leave() {
    if (current.entries == 0) return;
    sim::counters.apartments.fetch_sub(1);
    if (--current.entries == 0) current.kind = Apartment::None;
}

}  // namespace

namespace sim {

bool ThreadCanUseCom() { return current.kind != Apartment::None || implicitMtaUsers.load() > 0; }

bool ThreadInApartment() { return current.kind != Apartment::None; }

}  // namespace sim

HRESULT CoInitialize(LPVOID pvReserved) {
    if (sim::RecordingCalls()) sim::RecordCall("CoInitialize", {sim::PointerArg(pvReserved)});
    return Enter(Apartment::SingleThreaded, "CoInitialize");
}

void CoUninitialize() {
    if (sim::RecordingCalls()) sim::RecordCall("CoUninitialize", {});
    Leave();
}

HRESULT RoInitialize(RO_INIT_TYPE initType) {
    if (sim::RecordingCalls()) sim::RecordCall("RoInitialize", {std::to_string(initType)});
    return Enter(initType == RO_INIT_MULTITHREADED ? Apartment::MultiThreaded : Apartment::SingleThreaded,
                 "RoInitialize");
}

void RoUninitialize() {
    if (sim::RecordingCalls()) sim::RecordCall("RoUninitialize", {});
    Leave();
}

// The implicit apartment lives until the process ends: the cookie that would
// end it early is never used by the system, so it is not counted as a leak.
HRESULT CoIncrementMTAUsage(CO_MTA_USAGE_COOKIE* pCookie) {
    if (pCookie == nullptr) return E_INVALIDARG;
    if (const HRESULT fault = sim::TakeCallFault("CoIncrementMTAUsage"); FAILED(fault)) return fault;
    implicitMtaUsers.fetch_add(1);
    *pCookie = &implicitMtaUsers;
    return S_OK;
}
