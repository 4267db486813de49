// The read-only look at the firmware's WMI class against the simulated
// firmware: what it finds on laptops that differ in one thing each, and that
// on none of them it prints, spawns, fills or executes anything.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "firmware/firmware_inspection.h"
#include "firmware_test_support.h"
#include "sim/model/call_record.h"

namespace {

// One line per field, so that a difference names the field.
std::string Described(const FirmwareInspection& found) {
    std::string text = "missing";
    for (const std::wstring& name : found.missingInputs) text += " " + std::string(name.begin(), name.end());
    const std::pair<const char*, HRESULT> statuses[] = {{"connection", found.connection},
                                                        {"class", found.classDefinition},
                                                        {"method", found.method},
                                                        {"query", found.instanceQuery}};
    for (const auto& [field, status] : statuses)
        text += "\n" + std::string(field) + " " + std::to_string(static_cast<unsigned>(status));
    return text + "\nOutEDX " + std::to_string(found.outputHasOutEDX) + "\ninstances " + std::to_string(found.instances);
}

class FirmwareInspectionTest : public firmware_test::NothingLeftBehind {};

TEST_F(FirmwareInspectionTest, FindsWhatTheLaptopHasAndChangesNothing) {
    const HRESULT notRun = kStepNotRun;
    const struct {
        const char* scenario;
        FirmwareInspection expected;
    } rows[] = {
        {"0 firmware instances 3", {0, 0, 0, {}, true, 0, 3}},
        {"0 firmware instances 0", {0, 0, 0, {}, true, 0, 0}},
        {"0 firmware input InEDI absent", {0, 0, 0, {L"InEDI"}, true, 0, 1}},
        {"0 firmware input InEAX absent\n0 firmware input InECX string\n0 firmware input InESI uint64",
         {0, 0, 0, {L"InEAX", L"InECX", L"InESI"}, true, 0, 1}},
        {"0 firmware method absent", {0, 0, WBEM_E_NOT_FOUND, {}, false, 0, 1}},
        {"0 firmware class absent", {0, WBEM_E_NOT_FOUND, notRun, {}, false, WBEM_E_INVALID_CLASS, 0}},
        {"0 fail Get:OutEDX 0x80041002", {0, 0, 0, {}, false, 0, 1}},
        // A method without signatures takes no inputs and gives no output.
        {"0 none GetMethod", {0, 0, 0, {L"InEAX", L"InEBX", L"InECX", L"InEDX", L"InESI", L"InEDI"}, false, 0, 1}},
        {"0 none GetObject", {0, E_POINTER, notRun, {}, false, 0, 1}},
        {"0 firmware instances 2\n0 fail Next 0x40004 1", {0, 0, 0, {}, true, 0x40004, 0}},
        {"0 fail CoSetProxyBlanket 0x80070005", {E_ACCESSDENIED, 0, 0, {}, true, 0, 1}},
        {"0 fail ConnectServer 0x80041003", {WBEM_E_ACCESS_DENIED, notRun, notRun, {}, false, notRun, 0}},
        {"0 none ConnectServer", {E_POINTER, notRun, notRun, {}, false, notRun, 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.scenario);
        firmware_test::StartLaptop(row.scenario);
        FirmwareInspection found{};
        sim::StartCallRecord();
        const std::vector<std::string> executions = firmware_test::FirmwareLogDuring([&] {
            const firmware_test::Channels channels = firmware_test::CaptureChannels([&] { found = InspectFirmware(); });
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

}  // namespace
