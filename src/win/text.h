// Wide platform text as narrow console text.
#pragma once

#include <string>
#include <string_view>

// The text in UTF-8, as the platform converts UTF-16: surrogate pairs are
// joined, and a lone surrogate becomes U+FFFD. Empty if it cannot convert.
std::string Utf8(std::wstring_view text);
