// Wide platform text as narrow console text.
#pragma once

#include <string>
#include <string_view>

// The text in UTF-8; UTF-16 surrogate pairs (where wchar_t is 16 bits wide)
// are joined, and a lone surrogate becomes U+FFFD.
std::string Utf8(std::wstring_view text);
