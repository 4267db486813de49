// The failures raised for failing HRESULTs: the line each one prints, the
// platform's message it carries, and the restricted error information it
// takes.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "sim/model/accounting.h"
#include "sim/model/modem/originate_error.h"
#include "win/hresult_error.h"

namespace {

// Restricted error information and its strings are platform objects: none
// may be left behind by the raising.
class HresultFailure : public testing::Test {
protected:
    void SetUp() override { before_ = sim::CurrentCounts(); }
    void TearDown() override { EXPECT_TRUE(sim::CurrentCounts() == before_) << "a platform object was left"; }

private:
    sim::LiveCounts before_;
};

// The line that check_hresult's failure prints, as an hresult_error whatever
// its kind; a failure that is no hresult_error is not caught here.
std::string RaisedLine(HRESULT code) {
    try {
        check_hresult(code);
    } catch (const hresult_error& failure) {
        EXPECT_EQ(failure.code(), code) << "the failure carries another code than the one raised";
        return failure.what();
    }
    ADD_FAILURE() << "nothing raised for " << std::hex << code;
    return {};
}

// Each code, the common ones that have kinds of their own among them, prints
// itself and the system's text for it, whichever kind carries it.
TEST_F(HresultFailure, PrintsTheCodeRaisedAndTheSystemsText) {
    const struct {
        HRESULT code;
        const char* line;
    } cases[] = {
        {E_ACCESSDENIED, "0x80070005 - Access is denied."},
        {E_INVALIDARG, "0x80070057 - The parameter is incorrect."},
        {E_NOTIMPL, "0x80004001 - Not implemented"},
        {E_NOINTERFACE, "0x80004002 - No such interface supported"},
        {E_ILLEGAL_METHOD_CALL, "0x8000000e - A method was called at an unexpected time."},
        {E_BOUNDS, "0x8000000b - The operation attempted to access data outside the valid range"},
        {RPC_E_WRONG_THREAD,
         "0x8001010e - The application called an interface that was marshalled for a different thread."},
        {E_FAIL, "0x80004005 - Unspecified error"},
        {static_cast<HRESULT>(0x80041234), "0x80041234"},  // the system has no text for it
    };
    for (const auto& [code, line] : cases) EXPECT_EQ(RaisedLine(code), line);
    EXPECT_NO_THROW(check_hresult(S_FALSE));
}

// Out of memory must pass every hresult_error handler by.
TEST_F(HresultFailure, OutOfMemoryIsTheStandardAllocationFailure) {
    EXPECT_THROW(check_hresult(E_OUTOFMEMORY), std::bad_alloc);
}

TEST_F(HresultFailure, RestrictedErrorInfoGivesTheMessageOnce) {
    sim::OriginateError(E_FAIL, L"The modem went away");
    EXPECT_EQ(RaisedLine(E_FAIL), "0x80004005 - The modem went away");
    EXPECT_EQ(RaisedLine(E_FAIL), "0x80004005 - Unspecified error");
}

TEST_F(HresultFailure, RestrictedErrorInfoAboutAnotherCodeIsNotUsed) {
    sim::OriginateError(E_FAIL, L"The modem went away");
    EXPECT_EQ(RaisedLine(E_ACCESSDENIED), "0x80070005 - Access is denied.");
    // It was taken all the same, so it cannot describe a later failure.
    EXPECT_EQ(RaisedLine(E_FAIL), "0x80004005 - Unspecified error");
}

}  // namespace
