// Wide platform text as UTF-8 console text.
#include <gtest/gtest.h>

#include <string>

#include "win/text.h"

namespace {

TEST(Text, Utf8JoinsSurrogatePairsAndReplacesLoneOnes) {
    EXPECT_EQ(Utf8(L"Acc\u00e8s"), "Acc\xc3\xa8s");
    const std::wstring pair{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
    EXPECT_EQ(Utf8(pair), "\xf0\x9f\x98\x80");
    const std::wstring lone{static_cast<wchar_t>(0xDC00), L'x'};
    EXPECT_EQ(Utf8(lone), "\xef\xbf\xbdx");
}

}  // namespace
