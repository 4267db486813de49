// The failures raised for failing HRESULTs, their messages and the restricted
// error information they take.
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

template <typename Kind>
void ExpectRaisedAs(HRESULT code, const std::wstring& message) {
    try {
        check_hresult(code);
        ADD_FAILURE() << "nothing raised for " << std::hex << code;
    } catch (const Kind& failure) {
        const hresult_error& general = failure;  // every kind is an hresult_error
        EXPECT_EQ(general.code(), code);
        EXPECT_EQ(general.message(), message);
    }
}

TEST_F(HresultFailure, CommonCodesRaiseTheirKindWithTheSystemMessage) {
    ExpectRaisedAs<hresult_access_denied>(E_ACCESSDENIED, L"Access is denied.");
    ExpectRaisedAs<hresult_invalid_argument>(E_INVALIDARG, L"The parameter is incorrect.");
    ExpectRaisedAs<hresult_not_implemented>(E_NOTIMPL, L"Not implemented");
    ExpectRaisedAs<hresult_no_interface>(E_NOINTERFACE, L"No such interface supported");
    ExpectRaisedAs<hresult_illegal_method_call>(E_ILLEGAL_METHOD_CALL, L"A method was called at an unexpected time.");
    ExpectRaisedAs<hresult_out_of_bounds>(E_BOUNDS,
                                          L"The operation attempted to access data outside the valid range");
    ExpectRaisedAs<hresult_wrong_thread>(
        RPC_E_WRONG_THREAD, L"The application called an interface that was marshalled for a different thread.");
    ExpectRaisedAs<hresult_error>(E_FAIL, L"Unspecified error");
    ExpectRaisedAs<hresult_error>(static_cast<HRESULT>(0x80041234), L"");
    EXPECT_NO_THROW(check_hresult(S_FALSE));
}

TEST_F(HresultFailure, WhatGivesCodeAndMessage) {
    EXPECT_STREQ(hresult_error(E_ACCESSDENIED, L"Access is denied.").what(), "0x80070005 - Access is denied.");
    EXPECT_STREQ(hresult_error(static_cast<HRESULT>(0x80041234), L"").what(), "0x80041234");
}

TEST_F(HresultFailure, OutOfMemoryIsTheStandardAllocationFailure) {
    EXPECT_THROW(check_hresult(E_OUTOFMEMORY), std::bad_alloc);
}

TEST_F(HresultFailure, RestrictedErrorInfoGivesTheMessageOnce) {
    sim::OriginateError(E_FAIL, L"The modem went away");
    ExpectRaisedAs<hresult_error>(E_FAIL, L"The modem went away");
    ExpectRaisedAs<hresult_error>(E_FAIL, L"Unspecified error");
}

TEST_F(HresultFailure, RestrictedErrorInfoAboutAnotherCodeIsNotUsed) {
    sim::OriginateError(E_FAIL, L"The modem went away");
    ExpectRaisedAs<hresult_access_denied>(E_ACCESSDENIED, L"Access is denied.");
    // It was taken all the same, so it cannot describe a later failure.
    ExpectRaisedAs<hresult_error>(E_FAIL, L"Unspecified error");
}

}  // namespace
