// The failure raised where the system's own step cannot go on and has nothing
// but an HRESULT to say why: DebugPrint out of memory, a WMI string that could
// not be made. Nothing between the raise and the entry point catches it, and
// its line names the step, "DebugPrint failed with 0x8007000e". It is not an
// hresult_error: that one reports a failed platform call with the platform's
// message, raises out of memory as std::bad_alloc, and is what the modem's
// operations catch at their boundaries.
#pragma once

#include <cstdio>
#include <exception>

#include "platform.h"

class HresultException : public std::exception {
public:
    HresultException(HRESULT code, const char* operation) : code_(code) {
        std::snprintf(text_, sizeof text_, "%s failed with 0x%08x", operation, static_cast<unsigned>(code));
    }

    HRESULT code() const noexcept { return code_; }
    const char* what() const noexcept override { return text_; }

private:
    HRESULT code_;
    char text_[96];
};
