// The read-only look at the firmware's WMI class against the simulated
// firmware: what it finds on laptops that differ in one thing each, and that
// on none of them it prints, spawns, fills or executes anything.
#include <algorithm>
#include <string>
#include <vector>

#include "firmware/firmware_inspection.h"
#include "firmware_test_support.h"
#include "sim/model/call_record.h"

namespace {

using firmware_test::CaptureChannels;
using firmware_test::FirmwareLogDuring;
using firmware_test::StartLaptop;

const std::vector<std::wstring> kAllInputs = {L"InEAX", L"InEBX", L"InECX", L"InEDX", L"InESI", L"InEDI"};

std::string Hex(HRESULT status) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(status));
    return text;
}

// One line per field, so that a difference names the field.
std::string Described(const FirmwareInspection& found) {
    std::string inputs;
    for (const std::wstring& name : found.missingInputs) inputs += " " + std::string(name.begin(), name.end());
    return "connection " + Hex(found.connection) + "\nclass " + Hex(found.classDefinition) + "\nmethod " +
           Hex(found.method) + "\nmissing" + inputs + "\nOutEDX " + (found.outputHasOutEDX ? "yes" : "no") +
           "\nquery " + Hex(found.instanceQuery) + "\ninstances " + std::to_string(found.instances);
}

struct Row {
    const char* scenario;
    FirmwareInspection expected;
};

class FirmwareInspectionTest : public firmware_test::NothingLeftBehind {};

TEST_F(FirmwareInspectionTest, FindsWhatTheLaptopHasAndChangesNothing) {
    const HRESULT notRun = kStepNotRun;
    const std::vector<Row> rows = {
        {"", {0, 0, 0, {}, true, 0, 1}},
        {"0 firmware instances 3", {0, 0, 0, {}, true, 0, 3}},
        {"0 firmware instances 0", {0, 0, 0, {}, true, 0, 0}},
        {"0 firmware input InEDI absent", {0, 0, 0, {L"InEDI"}, true, 0, 1}},
        {"0 firmware input InEAX absent\n0 firmware input InECX string\n0 firmware input InESI uint64",
         {0, 0, 0, {L"InEAX", L"InECX", L"InESI"}, true, 0, 1}},
        {"0 firmware input InEBX absent\n0 firmware input InEBX uint32", {0, 0, 0, {}, true, 0, 1}},
        {"0 firmware method absent", {0, 0, WBEM_E_NOT_FOUND, {}, false, 0, 1}},
        {"0 firmware class absent", {0, WBEM_E_NOT_FOUND, notRun, {}, false, WBEM_E_INVALID_CLASS, 0}},
        {"0 fail Get:OutEDX 0x80041002", {0, 0, 0, {}, false, 0, 1}},
        // A method without signatures takes no inputs and gives no output.
        {"0 none GetMethod", {0, 0, 0, kAllInputs, false, 0, 1}},
        {"0 none GetObject", {0, E_POINTER, notRun, {}, false, 0, 1}},
        {"0 fail Next 0x40004 1", {0, 0, 0, {}, true, 0x40004, 0}},
        {"0 firmware instances 2\n0 fail Next 0x80041001 1", {0, 0, 0, {}, true, WBEM_E_FAILED, 0}},
        {"0 fail ExecQuery 0x80041010", {0, 0, 0, {}, true, WBEM_E_INVALID_CLASS, 0}},
        {"0 fail CoSetProxyBlanket 0x80070005", {E_ACCESSDENIED, 0, 0, {}, true, 0, 1}},
        {"0 fail ConnectServer 0x80041003", {WBEM_E_ACCESS_DENIED, notRun, notRun, {}, false, notRun, 0}},
        {"0 none ConnectServer", {E_POINTER, notRun, notRun, {}, false, notRun, 0}},
        {"0 fail CoCreateInstance 0x80040154", {REGDB_E_CLASSNOTREG, notRun, notRun, {}, false, notRun, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.scenario);
        StartLaptop(row.scenario);
        FirmwareInspection found{};
        sim::StartCallRecord();
        const std::vector<std::string> executions = FirmwareLogDuring([&] {
            const firmware_test::Channels channels = CaptureChannels([&] { found = InspectFirmware(); });
            EXPECT_EQ(channels.console + channels.debugger, "") << "the look prints nothing";
        });
        const std::vector<std::string> calls = sim::StopCallRecord();
        EXPECT_EQ(Described(found), Described(row.expected));
        EXPECT_TRUE(executions.empty());
        for (const char* writing : {"SpawnInstance(", "Put(", "ExecMethod("})
            EXPECT_TRUE(std::none_of(calls.begin(), calls.end(),
                                     [&](const std::string& call) { return call.starts_with(writing); }))
                << "the look called " << writing;
    }
}

// The calls the look makes are the ExecINT call's own, up to the method's
// signatures, then the whole enumeration.
TEST_F(FirmwareInspectionTest, MakesTheCallsOfTheExecIntCallUpToTheSignatures) {
    StartLaptop("0 firmware instances 2");
    sim::StartCallRecord();
    (void)InspectFirmware();
    std::vector<std::string> expected = firmware_test::kConnectingCalls;
    expected.insert(expected.end(), {
        "GetObject(\"QelButtonMethodDWSi\", 0, null, null)",
        "GetMethod(object 2, \"ExecINT\", 0, set, set)",
        "Get(in-signature 3, \"InEAX\", 0, set, set, null)",
        "Get(in-signature 3, \"InEBX\", 0, set, set, null)",
        "Get(in-signature 3, \"InECX\", 0, set, set, null)",
        "Get(in-signature 3, \"InEDX\", 0, set, set, null)",
        "Get(in-signature 3, \"InESI\", 0, set, set, null)",
        "Get(in-signature 3, \"InEDI\", 0, set, set, null)",
        "Get(out-signature 4, \"OutEDX\", 0, set, set, null)",
        "ExecQuery(\"WQL\", \"Select * from QelButtonMethodDWSi\", 48, null)",
        "Next(10000, 1)",
        "Next(10000, 1)",
        "Next(10000, 1)",
        "CoUninitialize()",
    });
    EXPECT_EQ(sim::StopCallRecord(), expected);
}

}  // namespace
