// OLE Automation strings as the simulator itself hands them out: counted like
// the system's own, but never subject to an injected SysAllocString fault.
#pragma once

#include <string>
#include <string_view>

#include "platform.h"

namespace sim {

// A new BSTR holding text; the receiver frees it with SysFreeString.
BSTR MakeBstr(std::wstring_view text);

// The text of a BSTR; a null BSTR is the empty string, as in COM.
std::wstring_view BstrText(BSTR text);

}  // namespace sim
