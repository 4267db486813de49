// The simulated WMI's services object is a proxy as COM sees it: it answers
// IClientSecurity, so CoSetProxyBlanket reaches it on the simulated surface
// as it does under Windows' (or Wine's) COM, and an object that is no proxy
// is refused.
#include <gtest/gtest.h>

#include "platform.h"
#include "sim/model/clock.h"
#include "sim/model/laptop.h"

namespace {

template <typename Interface>
struct Released {
    Interface* object = nullptr;
    ~Released() {
        if (object != nullptr) object->Release();
    }
};

TEST(WbemProxy, CoSetProxyBlanketReachesTheServicesThroughIClientSecurityOnly) {
    sim::RestartVirtualClock();
    sim::TheLaptop().Load(sim::ParseScenario("1 fail CoSetProxyBlanket 0x80070005 1\n", "test"));
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    {
        Released<IWbemLocator> locator;
        ASSERT_EQ(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                   reinterpret_cast<LPVOID*>(&locator.object)),
                  S_OK);
        BSTR wmi = SysAllocString(L"root\\wmi");
        Released<IWbemServices> services;
        ASSERT_EQ(locator.object->ConnectServer(wmi, nullptr, nullptr, nullptr, 0, nullptr, nullptr, &services.object),
                  S_OK);
        SysFreeString(wmi);

        const auto blanket = [](IUnknown* proxy, DWORD impersonation) {
            return CoSetProxyBlanket(proxy, RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr, RPC_C_AUTHN_LEVEL_CALL,
                                     impersonation, nullptr, EOAC_NONE);
        };
        EXPECT_EQ(blanket(locator.object, RPC_C_IMP_LEVEL_IMPERSONATE), E_NOINTERFACE) << "the locator is no proxy";
        EXPECT_EQ(blanket(services.object, RPC_C_IMP_LEVEL_IMPERSONATE), S_OK);
        EXPECT_EQ(blanket(services.object, 5), E_INVALIDARG) << "no impersonation level above delegate";
        sim::PassMs(1000);
        EXPECT_EQ(blanket(services.object, RPC_C_IMP_LEVEL_IMPERSONATE), E_ACCESSDENIED) << "the scenario's fault";
        EXPECT_EQ(blanket(services.object, RPC_C_IMP_LEVEL_IMPERSONATE), S_OK) << "once only";
    }
    CoUninitialize();
}

}  // namespace
