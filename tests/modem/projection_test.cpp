// The projection's failures, messages, activation and owning references.
#include <new>
#include <stdexcept>

#include "byte_buffers.h"
#include "hresult_error.h"
#include "modem_test_support.h"
#include "sim/model/modem/originate_error.h"
#include "text.h"
#include "winrt_activation.h"

namespace {

class Projection : public ModemTest {};

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

TEST_F(Projection, CommonCodesRaiseTheirKindWithTheSystemMessage) {
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

TEST_F(Projection, WhatGivesCodeAndMessage) {
    EXPECT_STREQ(hresult_error(E_ACCESSDENIED, L"Access is denied.").what(), "0x80070005 - Access is denied.");
    EXPECT_STREQ(hresult_error(static_cast<HRESULT>(0x80041234), L"").what(), "0x80041234");
}

TEST_F(Projection, OutOfMemoryIsTheStandardAllocationFailure) {
    EXPECT_THROW(check_hresult(E_OUTOFMEMORY), std::bad_alloc);
}

TEST_F(Projection, RestrictedErrorInfoGivesTheMessageOnce) {
    sim::OriginateError(E_FAIL, L"The modem went away");
    ExpectRaisedAs<hresult_error>(E_FAIL, L"The modem went away");
    ExpectRaisedAs<hresult_error>(E_FAIL, L"Unspecified error");
}

TEST_F(Projection, RestrictedErrorInfoAboutAnotherCodeIsNotUsed) {
    sim::OriginateError(E_FAIL, L"The modem went away");
    ExpectRaisedAs<hresult_access_denied>(E_ACCESSDENIED, L"Access is denied.");
    // It was taken all the same, so it cannot describe a later failure.
    ExpectRaisedAs<hresult_error>(E_FAIL, L"Unspecified error");
}

TEST_F(Projection, ActivationJoinsTheMultithreadedApartmentAndRetriesOnce) {
    Start("0 fail RoGetActivationFactory 0x800401F0 1\n");
    EXPECT_NE(ActivateStatics(winrt_abi::RuntimeClass_CryptographicBuffer, winrt_abi::IID_ICryptographicBufferStatics),
              nullptr);

    Start("0 fail RoGetActivationFactory 0x800401F0 2\n");
    try {
        ActivateStatics(winrt_abi::RuntimeClass_CryptographicBuffer, winrt_abi::IID_ICryptographicBufferStatics);
        ADD_FAILURE() << "a second CO_E_NOTINITIALIZED was not raised";
    } catch (const hresult_error& failure) {
        EXPECT_EQ(failure.code(), CO_E_NOTINITIALIZED);
    }
}

TEST_F(Projection, ActivationFailuresAreRaised) {
    try {
        ActivateStatics(L"Windows.Networking.NetworkOperators.NoSuchClass", winrt_abi::IID_IMobileBroadbandModemStatics);
        ADD_FAILURE() << "an unknown class was activated";
    } catch (const hresult_error& failure) {
        EXPECT_EQ(failure.code(), REGDB_E_CLASSNOTREG);
    }
    EXPECT_THROW(ActivateStatics(winrt_abi::RuntimeClass_MobileBroadbandModem, winrt_abi::IID_IBuffer),
                 hresult_no_interface);
}

TEST_F(Projection, OwningReferencesReleaseWhenAFailurePassesThrough) {
    const sim::LiveCounts before = sim::CurrentCounts();
    const BYTE bytes[] = {1, 2, 3};
    try {
        const com_ptr<winrt_abi::IBuffer> buffer = BufferFromBytes(bytes);
        const TaskMemoryBytes copy = TaskMemoryBytes::CopyOf(*buffer);
        ASSERT_EQ(copy.size(), 3u);
        EXPECT_EQ(copy.data()[2], 3);
        EXPECT_NE(sim::CurrentCounts(), before);
        throw std::runtime_error("passing through");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(sim::CurrentCounts(), before);
}

TEST(Text, Utf8JoinsSurrogatePairsAndReplacesLoneOnes) {
    EXPECT_EQ(Utf8(L"Acc\u00e8s"), "Acc\xc3\xa8s");
    const std::wstring pair{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
    EXPECT_EQ(Utf8(pair), "\xf0\x9f\x98\x80");
    const std::wstring lone{static_cast<wchar_t>(0xDC00), L'x'};
    EXPECT_EQ(Utf8(lone), "\xef\xbf\xbdx");
}

}  // namespace
