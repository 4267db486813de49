// Wide platform text as narrow console text, and narrow text as wide.
#pragma once

#include <string>
#include <string_view>

// The text in UTF-8, as the platform converts UTF-16: surrogate pairs are
// joined, and a lone surrogate becomes U+FFFD. Empty if it cannot convert.
std::string Utf8(std::wstring_view text);

// UTF-8 text as wide platform text, as the platform converts it: malformed
// input is replaced with U+FFFD, not refused. Empty if it cannot convert.
std::wstring Wide(std::string_view text);
