// The projection's activation and owning references.
#include <stdexcept>

#include "byte_buffers.h"
#include "modem_test_support.h"
#include "win/hresult_error.h"
#include "winrt_activation.h"

namespace {

class Projection : public ModemTest {};

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

}  // namespace
