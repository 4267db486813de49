// Membership of an apartment for the span of one piece of work. Enter() joins
// it and hands back the platform's status, so the work can enter at the step
// where it belongs; the holder leaves again when it ends, on every path, but
// only if it was entered (S_OK or S_FALSE): leaving after a failed entry would
// end an apartment that belongs to someone else.
#pragma once

#include "platform.h"

template <HRESULT (*Join)(), void (*Leave)()>
class Apartment {
public:
    Apartment() = default;
    ~Apartment() {
        if (SUCCEEDED(status_)) Leave();
    }
    Apartment(const Apartment&) = delete;
    Apartment& operator=(const Apartment&) = delete;

    HRESULT Enter() {
        status_ = Join();
        return status_;
    }

private:
    HRESULT status_ = E_FAIL;  // not entered
};

namespace apartment_calls {
inline HRESULT JoinSingleThreaded() { return CoInitialize(nullptr); }
inline void LeaveSingleThreaded() { CoUninitialize(); }
inline HRESULT JoinRuntimeMultithreaded() { return RoInitialize(RO_INIT_MULTITHREADED); }
inline void LeaveRuntime() { RoUninitialize(); }
}  // namespace apartment_calls

// A COM single-threaded apartment: CoInitialize, CoUninitialize.
using ComApartment = Apartment<apartment_calls::JoinSingleThreaded, apartment_calls::LeaveSingleThreaded>;

// The Windows Runtime's multithreaded apartment: RoInitialize, RoUninitialize.
using RuntimeApartment = Apartment<apartment_calls::JoinRuntimeMultithreaded, apartment_calls::LeaveRuntime>;
