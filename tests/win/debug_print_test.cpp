// DebugPrint: formatting, delivery as one message of any length, and the
// HRESULT each failure carries.
#include <gtest/gtest.h>

#include <string>

#include "sim/model/laptop.h"
#include "sim/model/scenario.h"
#include "win/debug_print.h"
#include "win/hresult_exception.h"

namespace {

std::string Captured(void (*write)()) {
    testing::internal::CaptureStderr();
    write();
    return testing::internal::GetCapturedStderr();
}

HRESULT CodeOf(void (*call)()) {
    try {
        call();
    } catch (const HresultException& failure) {
        return failure.code();
    }
    return S_OK;
}

TEST(DebugPrint, FormatsHresultsInLowercaseHexWithoutLeadingZeros) {
    EXPECT_EQ(Captured([] { DebugPrint(L"[MS_SAR] ExecMethod returned 0x%x:", 0); }),
              "[MS_SAR] ExecMethod returned 0x0:\n");
    EXPECT_EQ(Captured([] { DebugPrint(L"[MS_SAR] ExecMethod returned 0x%x:", E_ACCESSDENIED); }),
              "[MS_SAR] ExecMethod returned 0x80070005:\n");
}

TEST(DebugPrint, DeliversATenThousandCharacterMessageWholeAsOneMessage) {
    const std::wstring text(10000, L'x');
    testing::internal::CaptureStderr();
    DebugPrint(L"[MS_SAR] %ls|", text.c_str());
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(written, "[MS_SAR] " + std::string(10000, 'x') + "|\n") << "one line, nothing cut";
}

TEST(DebugPrint, FailuresCarryTheirHresultAndWriteNothing) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(CodeOf([] { DebugPrint(nullptr); }), E_INVALIDARG);
    // A narrow argument that is no valid multibyte text cannot be formatted.
    EXPECT_EQ(CodeOf([] { DebugPrint(L"[MS_SAR] %s", "\xff"); }), E_FAIL);
    sim::TheLaptop().Load(sim::ParseScenario("0 fail HeapAlloc 0x8007000E 1", "test"));
    EXPECT_EQ(CodeOf([] { DebugPrint(L"[MS_SAR] Exit while loop"); }), E_OUTOFMEMORY);
    sim::TheLaptop().Load({});
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

}  // namespace
