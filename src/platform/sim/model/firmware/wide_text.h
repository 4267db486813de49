// Wide-text helpers of the simulated WMI: names and paths compare without
// regard to case, as WMI compares them.
#pragma once

#include <cwctype>
#include <string_view>

namespace sim {

inline bool SameText(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i]))) return false;
    return true;
}

// Compares a possibly null C string with a name.
inline bool SameText(const wchar_t* a, std::wstring_view b) { return a != nullptr && SameText(std::wstring_view(a), b); }

}  // namespace sim
