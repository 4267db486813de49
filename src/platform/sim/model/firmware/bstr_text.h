// OLE Automation strings as the simulated firmware reads and hands them out.
// It makes its own strings with SysAllocStringLen, which the system never
// calls, so a scenario's "fail SysAllocString" hits only the system's strings.
#pragma once

#include <string_view>

#include "platform.h"

namespace sim {

// A new BSTR holding text; the receiver frees it with SysFreeString.
inline BSTR MakeBstr(std::wstring_view text) {
    return SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
}

// The text of a BSTR; a null BSTR is the empty string, as in COM.
inline std::wstring_view BstrText(BSTR text) {
    if (text == nullptr) return {};
    return {text, SysStringLen(text)};
}

}  // namespace sim
