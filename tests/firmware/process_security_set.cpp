// The firmware tests run as later calls of a process: COM security is set
// before the first test, as the process's first call would have set it.
#include "firmware_test_support.h"
#include "platform.h"

namespace {

class ProcessSecurityAlreadySet : public testing::Environment {
public:
    void SetUp() override {
        firmware_test::StartLaptop("");
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        ASSERT_EQ(CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                       RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr),
                  S_OK);
        CoUninitialize();
    }
};

testing::Environment* const securitySet = testing::AddGlobalTestEnvironment(new ProcessSecurityAlreadySet);

}  // namespace
