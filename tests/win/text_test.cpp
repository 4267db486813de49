// Wide platform text as UTF-8 console text, and back.
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

// Each byte that starts no well-formed sequence becomes U+FFFD and the text
// goes on after it: a stray continuation byte, a sequence cut short, an
// overlong form, an encoded surrogate.
TEST(Text, WideMakesSurrogatePairsAndReplacesMalformedSequences) {
    EXPECT_EQ(Wide("Acc\xc3\xa8s"), L"Acc\u00e8s");
    const std::wstring pair{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
    EXPECT_EQ(Wide("\xf0\x9f\x98\x80"), pair);
    EXPECT_EQ(Wide("a\x80" "b"), L"a\ufffdb");
    EXPECT_EQ(Wide("a\xe2\x82"), L"a\ufffd\ufffd");
    EXPECT_EQ(Wide("\xc0\xaf"), L"\ufffd\ufffd");
    EXPECT_EQ(Wide("\xed\xa0\x80!"), L"\ufffd\ufffd\ufffd!");
    EXPECT_EQ(Utf8(Wide("0x80070005 - Acc\xc3\xa8s refus\xc3\xa9")), "0x80070005 - Acc\xc3\xa8s refus\xc3\xa9");
}

}  // namespace
