// The ExecINT call against the simulated WMI firmware, in a process whose COM
// security an earlier call has already set: a successful call and the
// arguments it really passes, each step failing (negative and positive
// statuses), missing objects and strings, OutEDX, and the strings whose loss
// ends the call.
#include <string>
#include <vector>

#include "firmware/exec_int.h"
#include "firmware_test_support.h"
#include "platform.h"
#include "sim/model/call_record.h"
#include "sim/model/firmware/firmware_device.h"
#include "sim/surface/apartments.h"
#include "win/hresult_exception.h"

namespace {

using firmware_test::CaptureChannels;
using firmware_test::FirmwareLogDuring;
using firmware_test::StartLaptop;

constexpr ExecINTRegisters kRecord = {L"38448", L"160", L"2", L"2", L"0", L"0"};
const std::vector<std::string> kRecordLogged = {"0 ExecINT 38448 160 2 2 0 0"};

// The console lines of the steps, as a successful call shows them.
const std::string kTooLate = "CoInitializeSecurity returned 0x80010119:\n[-] Err: CoInitializeSecurity";
const std::string kConnected = "\nConnectServer returned 0x0:";
const std::string kBound = "\nGetObject returned 0x0:\nGetMethod returned 0x0:\nSpawnInstance returned 0x0:";
const std::string kFilled =
    "\nPut ArgName0 returned 0x0:\nPut ArgName1 returned 0x0:\nPut ArgName2 returned 0x0:"
    "\nPut ArgName3 returned 0x0:\nPut ArgName4 returned 0x0:\nPut ArgName5 returned 0x0:";
const std::string kPathRead = "\npObj Get returned 0x0:";
const std::string kExecuted = "\nExecMethod returned 0x0:Terminating normally\n";
const std::string kEnd = "Terminating normally\n";
const std::string kPutsSkipped =
    "\n[-] Skipped Put ArgName0: no input-parameter instance\n[-] Skipped Put ArgName1: no input-parameter instance"
    "\n[-] Skipped Put ArgName2: no input-parameter instance\n[-] Skipped Put ArgName3: no input-parameter instance"
    "\n[-] Skipped Put ArgName4: no input-parameter instance\n[-] Skipped Put ArgName5: no input-parameter instance";
// Everything after a missing locator or services connection.
const std::string kNothingConnected =
    "\n[-] Skipped CoSetProxyBlanket: no services connection\n[-] Skipped ExecQuery: no services connection"
    "\n[-] Skipped Next: no enumerator\n[-] Skipped GetObject: no services connection"
    "\n[-] Skipped GetMethod: no class definition\n[-] Skipped SpawnInstance: no input-parameter definition" +
    kPutsSkipped + "\n[-] Skipped pObj Get: no firmware instance\n[-] Skipped ExecMethod: no services connection" +
    kEnd;

// What the call told its caller: "executed", or the step that kept the
// method from running and its status, "Next 0x1".
std::string Told(const ExecIntOutcome& outcome) {
    if (outcome.executed) return outcome.failedStep == nullptr ? "executed" : "executed, yet names a step";
    if (outcome.failedStep == nullptr) return "not executed, and no step named";
    char status[16];
    std::snprintf(status, sizeof status, "0x%x", static_cast<unsigned>(outcome.status));
    return std::string(outcome.failedStep) + " " + status;
}

struct Outcome {
    firmware_test::Channels channels;
    std::vector<std::string> firmwareLog;
    std::string told;
};

// Every call through here also checks that the call says the firmware
// executed the method exactly when the firmware logged it.
Outcome Call(const char* scenario, const ExecINTRegisters& registers = kRecord) {
    StartLaptop(scenario);
    Outcome outcome;
    ExecIntOutcome result;
    outcome.firmwareLog = FirmwareLogDuring([&] {
        outcome.channels = CaptureChannels([&] { result = CallExecINT(registers, false); });
    });
    outcome.told = Told(result);
    EXPECT_EQ(result.executed, !outcome.firmwareLog.empty()) << "the outcome must say whether the firmware executed it";
    return outcome;
}

class ExecIntCall : public firmware_test::NothingLeftBehind {};

TEST_F(ExecIntCall, SuccessfulCallAfterSecurityWasSet) {
    const Outcome outcome = Call("");
    EXPECT_EQ(outcome.channels.console, firmware_test::kLaterCallConsole);
    EXPECT_EQ(outcome.channels.debugger, "") << "echo to the debugger is off";
    EXPECT_EQ(outcome.firmwareLog, kRecordLogged);
    EXPECT_EQ(sim::firmware::LastExecution()->instancePath, sim::firmware::InstancePath(0));
}

// A failing step of 2 to 4 shows its result and error line; positive
// statuses there are no failure and print nothing.
struct StartRow {
    const char* scenario;
    std::string console;
    const char* told;
};

TEST_F(ExecIntCall, ComStartFailures) {
    const std::vector<StartRow> rows = {
        // Without an apartment COM refuses security and the locator.
        {"0 fail CoInitialize 0x8000ffff",
         "CoInitialize returned 0x8000ffff:\n[-] Err: CoInitialize"
         "CoInitializeSecurity returned 0x800401f0:\n[-] Err: CoInitializeSecurity"
         "CoCreateInstance returned 0x800401f0:\n[-] Err: CoCreateInstance"
         "\n[-] Skipped ConnectServer: no locator" + kNothingConnected,
         "CoInitialize 0x8000ffff"},
        {"0 fail CoInitializeSecurity 0x80004005",
         "CoInitializeSecurity returned 0x80004005:\n[-] Err: CoInitializeSecurity" + kConnected + kBound + kFilled +
             kPathRead + kExecuted,
         "executed"},
        {"0 fail CoInitializeSecurity 0x1", kConnected + kBound + kFilled + kPathRead + kExecuted, "executed"},
        {"0 fail CoCreateInstance 0x80040154",
         kTooLate + "CoCreateInstance returned 0x80040154:\n[-] Err: CoCreateInstance" +
             "\n[-] Skipped ConnectServer: no locator" + kNothingConnected,
         "CoCreateInstance 0x80040154"},
        // A positive status is no failure, but it brought no locator.
        {"0 fail CoCreateInstance 0x1", kTooLate + "\n[-] Skipped ConnectServer: no locator" + kNothingConnected,
         "ConnectServer 0xa0000001"},
    };
    for (const StartRow& row : rows) {
        SCOPED_TRACE(row.scenario);
        const Outcome outcome = Call(row.scenario);
        EXPECT_EQ(outcome.channels.console, row.console);
        EXPECT_EQ(outcome.told, row.told);
    }
}

TEST_F(ExecIntCall, ThreadAlreadyInASingleThreadedApartment) {
    StartLaptop("");
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    const firmware_test::Channels channels = CaptureChannels([] { EXPECT_TRUE(CallExecINT(kRecord, false).executed); });
    EXPECT_EQ(channels.console, kTooLate + kConnected + kBound + kFilled + kPathRead + kExecuted)
        << "S_FALSE from CoInitialize is no failure";
    EXPECT_EQ(sim::CurrentCounts().apartments, 1) << "the call leaves the apartment entry it made";
    CoUninitialize();
}

TEST_F(ExecIntCall, ThreadInTheMultithreadedApartment) {
    StartLaptop("");
    ASSERT_EQ(RoInitialize(RO_INIT_MULTITHREADED), S_OK);
    const firmware_test::Channels channels = CaptureChannels([] { EXPECT_TRUE(CallExecINT(kRecord, false).executed); });
    EXPECT_EQ(channels.console, "CoInitialize returned 0x80010106:\n[-] Err: CoInitialize" + kTooLate + kConnected +
                                    kBound + kFilled + kPathRead + kExecuted);
    EXPECT_TRUE(sim::ThreadInApartment()) << "no CoUninitialize for a CoInitialize that failed";
    RoUninitialize();
}

// Steps 5 to 14 failing: the status replaces {status} in the expected text
// and in what the call tells its caller.
struct StepRow {
    const char* name;
    std::string console;
    const char* told;
};

std::string WithStatus(std::string text, const std::string& status) {
    for (size_t at; (at = text.find("{status}")) != std::string::npos;) text.replace(at, 8, status);
    return text;
}

// A positive status is a failure there too, WBEM_S_TIMEDOUT from a Next
// that waited in vain among them.
TEST_F(ExecIntCall, EachStepFailingWithANegativeOrPositiveStatus) {
    const std::string noInstance = "\n[-] Skipped pObj Get: no firmware instance\n[-] Skipped ExecMethod: no instance path";
    const std::string noInputs = "\n[-] Skipped ExecMethod: no input-parameter instance" + kEnd;
    const std::vector<StepRow> rows = {
        {"ConnectServer",
         "\nConnectServer returned 0x{status}:\n[-] Err: ConnectServer" + kNothingConnected, "ConnectServer 0x{status}"},
        {"CoSetProxyBlanket",
         kConnected + "\n[-] Err: CoSetProxyBlanket" + kBound + kFilled + kPathRead + kExecuted, "executed"},
        {"ExecQuery",
         kConnected + "\n[-] Err: ExecQuery\n[-] Skipped Next: no enumerator" + kBound + kFilled + noInstance + kEnd,
         "ExecQuery 0x{status}"},
        {"Next", kConnected + "\n[-] Err: Next" + kBound + kFilled + noInstance + kEnd, "Next 0x{status}"},
        {"GetObject",
         kConnected + "\nGetObject returned 0x{status}:\n[-] Err: GetObject"
                      "\n[-] Skipped GetMethod: no class definition"
                      "\n[-] Skipped SpawnInstance: no input-parameter definition" +
             kPutsSkipped + kPathRead + noInputs,
         "GetObject 0x{status}"},
        {"GetMethod",
         kConnected + "\nGetObject returned 0x0:\nGetMethod returned 0x{status}:\n[-] Err: GetMethod"
                      "\n[-] Skipped SpawnInstance: no input-parameter definition" +
             kPutsSkipped + kPathRead + noInputs,
         "GetMethod 0x{status}"},
        {"SpawnInstance",
         kConnected + "\nGetObject returned 0x0:\nGetMethod returned 0x0:"
                      "\nSpawnInstance returned 0x{status}:\n[-] Err: SpawnInstance" +
             kPutsSkipped + kPathRead + noInputs,
         "SpawnInstance 0x{status}"},
        // The firmware refuses a method call with an input left unset.
        {"Put",
         kConnected + kBound + "\nPut ArgName0 returned 0x{status}:\n[-] Err: Put ArgName0" +
             "\nPut ArgName1 returned 0x0:\nPut ArgName2 returned 0x0:\nPut ArgName3 returned 0x0:"
             "\nPut ArgName4 returned 0x0:\nPut ArgName5 returned 0x0:" +
             kPathRead + "\nExecMethod returned 0x8004102f:\n[-] Err: ExecMethod" + kEnd,
         "Put ArgName0 0x{status}"},
        {"Get",
         kConnected + kBound + kFilled + "\npObj Get returned 0x{status}:\n[-] Err: Get" +
             "\n[-] Skipped ExecMethod: no instance path" + kEnd,
         "pObj Get 0x{status}"},
        {"ExecMethod",
         kConnected + kBound + kFilled + kPathRead + "\nExecMethod returned 0x{status}:\n[-] Err: ExecMethod" + kEnd,
         "ExecMethod 0x{status}"},
    };
    for (const char* status : {"80041001", "1", "40004"}) {
        for (const StepRow& row : rows) {
            const std::string scenario = std::string("0 fail ") + row.name + " 0x" + status + " 1\n";
            SCOPED_TRACE(scenario);
            const Outcome outcome = Call(scenario.c_str());
            EXPECT_EQ(outcome.channels.console, kTooLate + WithStatus(row.console, status));
            EXPECT_EQ(outcome.told, WithStatus(row.told, status));
        }
    }
}

// Laptops whose firmware class lacks something: the call names the first
// step the lack fails (their console lines are pinned in the corpus).
TEST_F(ExecIntCall, FirmwareClassThatLacksSomething) {
    const struct {
        const char* scenario;
        const char* told;
    } rows[] = {
        {"0 firmware instances 0", "Next 0x1"},
        {"0 firmware class absent", "ExecQuery 0x80041010"},
        {"0 firmware method absent", "GetMethod 0x80041002"},
        {"0 firmware input InEDI absent", "Put ArgName5 0x80041002"},
        {"0 firmware input InECX uint16", "Put ArgName2 0x80041005"},
    };
    for (const auto& row : rows) EXPECT_EQ(Call(row.scenario).told, row.told) << row.scenario;
}

TEST_F(ExecIntCall, SeveralInstancesExecuteOnTheFirst) {
    const Outcome outcome = Call("0 firmware instances 3");
    EXPECT_EQ(outcome.channels.console, kTooLate + kConnected + kBound + kFilled + kPathRead + kExecuted);
    EXPECT_EQ(outcome.firmwareLog, kRecordLogged);
    EXPECT_EQ(sim::firmware::LastExecution()->instancePath, sim::firmware::InstancePath(0));
}

TEST_F(ExecIntCall, RegisterTextThatIsNotAUint32IsRefusedByPut) {
    const ExecINTRegisters bad = {L"38448", L"-1", L"4294967296", L"", L" 7 ", L"0x10"};
    const Outcome outcome = Call("", bad);
    EXPECT_EQ(outcome.channels.console,
              kTooLate + kConnected + kBound +
                  "\nPut ArgName0 returned 0x0:"
                  "\nPut ArgName1 returned 0x80041005:\n[-] Err: Put ArgName1"
                  "\nPut ArgName2 returned 0x80041005:\n[-] Err: Put ArgName2"
                  "\nPut ArgName3 returned 0x80041005:\n[-] Err: Put ArgName3"
                  "\nPut ArgName4 returned 0x0:"
                  "\nPut ArgName5 returned 0x80041005:\n[-] Err: Put ArgName5" +
                  kPathRead + "\nExecMethod returned 0x8004102f:\n[-] Err: ExecMethod" + kEnd);
    EXPECT_TRUE(outcome.firmwareLog.empty());
}

// Only the namespace, class name, method name and "InEAX" are checked at the
// start; every string goes to WMI as it is, where a missing (null) one reads
// as the empty string and WMI answers with its own status.
TEST_F(ExecIntCall, OnlyTheFirstFourStringsAreCheckedAndNoneIsWithheld) {
    const std::string missing = "SysAllocString failed. Out of memory.\n\n[-] Err: xxx";
    const std::string putsAfterTheFirst =
        "\nPut ArgName1 returned 0x0:\nPut ArgName2 returned 0x0:\nPut ArgName3 returned 0x0:"
        "\nPut ArgName4 returned 0x0:\nPut ArgName5 returned 0x0:";
    const std::string notExecuted = kPathRead + "\nExecMethod returned 0x8004102f:\n[-] Err: ExecMethod" + kEnd;
    const char* const outOfMemory = "SysAllocString 0x8007000e";
    const struct {
        const char* string;
        std::string console;
        const char* told;
    } rows[] = {
        {"InEAX", missing + kTooLate + kConnected + kBound + "\nPut ArgName0 returned 0x80041008:\n[-] Err: Put ArgName0" +
                      putsAfterTheFirst + notExecuted,
         outOfMemory},
        {"InEDI", kTooLate + kConnected + kBound +
                      "\nPut ArgName0 returned 0x0:\nPut ArgName1 returned 0x0:\nPut ArgName2 returned 0x0:"
                      "\nPut ArgName3 returned 0x0:\nPut ArgName4 returned 0x0:"
                      "\nPut ArgName5 returned 0x80041008:\n[-] Err: Put ArgName5" +
                      notExecuted,
         "Put ArgName5 0x80041008"},
        // WMI hands out an empty class for an empty path; it has no ExecINT.
        {"QelButtonMethodDWSi", missing + kTooLate + kConnected +
                                    "\nGetObject returned 0x0:\nGetMethod returned 0x80041002:\n[-] Err: GetMethod"
                                    "\n[-] Skipped SpawnInstance: no input-parameter definition" +
                                    kPutsSkipped + kPathRead +
                                    "\n[-] Skipped ExecMethod: no input-parameter instance" + kEnd,
         outOfMemory},
        {"ExecINT", missing + kTooLate + kConnected +
                        "\nGetObject returned 0x0:\nGetMethod returned 0x80041008:\n[-] Err: GetMethod"
                        "\n[-] Skipped SpawnInstance: no input-parameter definition" +
                        kPutsSkipped + kPathRead + "\n[-] Skipped ExecMethod: no input-parameter instance" + kEnd,
         outOfMemory},
        {"root\\wmi", missing + kTooLate + "\nConnectServer returned 0x8004100e:\n[-] Err: ConnectServer" +
                           kNothingConnected,
         outOfMemory},
    };
    for (const auto& row : rows) {
        const std::string scenario = std::string("0 fail SysAllocString:") + row.string + " 0x8007000e";
        SCOPED_TRACE(scenario);
        const Outcome outcome = Call(scenario.c_str());
        EXPECT_EQ(outcome.channels.console, row.console);
        EXPECT_EQ(outcome.told, row.told);
    }
}

// What the call really hands to COM and WMI, argument by argument.
TEST_F(ExecIntCall, EveryFixedArgumentGoesOverAsDefined) {
    StartLaptop("");
    sim::StartCallRecord();
    CaptureChannels([] { (void)CallExecINT(kRecord, false); });
    const std::vector<std::string> calls = sim::StopCallRecord();
    const std::string path = "\\\\SIMLAPTOP\\root\\wmi:QelButtonMethodDWSi.InstanceName=\"ACPI\\\\PNP0C14\\\\0_0\"";
    EXPECT_EQ(calls, (std::vector<std::string>{
                         "CoInitialize(null)",
                         "CoInitializeSecurity(null, -1, null, null, 0, 3, null, 0, null)",
                         "CoCreateInstance({4590F811-1D3A-11D0-891F-00AA004B2E24}, null, 1, "
                         "{DC12A687-737F-11CF-884D-00AA004B2E24})",
                         "ConnectServer(\"root\\wmi\", null, null, null, 128, null, null)",
                         "CoSetProxyBlanket(services 1, 10, 0, null, 3, 3, null, 0)",
                         "ExecQuery(\"WQL\", \"Select * from QelButtonMethodDWSi\", 48, null)",
                         "Next(10000, 1)",
                         "GetObject(\"QelButtonMethodDWSi\", 0, null, null)",
                         "GetMethod(object 3, \"ExecINT\", 0, set, null)",
                         "SpawnInstance(in-signature 4, 0)",
                         "Put(instance 5, \"InEAX\", 0, VT_BSTR \"38448\", 19)",
                         "Put(instance 5, \"InEBX\", 0, VT_BSTR \"160\", 19)",
                         "Put(instance 5, \"InECX\", 0, VT_BSTR \"2\", 19)",
                         "Put(instance 5, \"InEDX\", 0, VT_BSTR \"2\", 19)",
                         "Put(instance 5, \"InESI\", 0, VT_BSTR \"0\", 19)",
                         "Put(instance 5, \"InEDI\", 0, VT_BSTR \"0\", 19)",
                         "Get(instance 2, \"__PATH\", 0, set, null, null)",
                         "ExecMethod(\"" + path + "\", \"ExecINT\", 0, null, instance 5, set, null)",
                         "Get(outputs 6, \"OutEDX\", 0, set, null, null)",
                         "CoUninitialize()",
                     }));
}

// OutEDX is read and not used: whatever it holds (the WLAN power state the
// command selected, 2 after REDUCE and 1 after NORMAL), and whether reading it
// fails, the call prints nothing more.
TEST_F(ExecIntCall, OutEdxIsReadAndNotUsed) {
    const ExecINTRegisters normal = {L"38448", L"160", L"1", L"1", L"0", L"0"};
    for (const ExecINTRegisters* registers : {&kRecord, &normal}) {
        for (const char* scenario : {"", "0 fail Get:OutEDX 0x80041002", "0 fail Get:OutEDX 0x1"}) {
            SCOPED_TRACE(std::string(scenario) + (registers == &normal ? " NORMAL" : " REDUCE"));
            const Outcome outcome = Call(scenario, *registers);
            EXPECT_EQ(outcome.channels.console, firmware_test::kLaterCallConsole);
            EXPECT_EQ(outcome.channels.debugger, "");
            EXPECT_EQ(outcome.firmwareLog.size(), 1u);
        }
    }
}

TEST_F(ExecIntCall, ShortLivedStringThatCannotBeMadeEndsTheCall) {
    for (const char* scenario : {"0 fail SysAllocString:WQL 0x8007000e", "0 fail SysAllocString:__PATH 0x8007000e"}) {
        SCOPED_TRACE(scenario);
        StartLaptop(scenario);
        testing::internal::CaptureStdout();
        try {
            (void)CallExecINT(kRecord, false);
            ADD_FAILURE() << "the call went on without its string";
        } catch (const HresultException& failure) {
            EXPECT_EQ(failure.code(), E_OUTOFMEMORY);
        }
        const std::string console = testing::internal::GetCapturedStdout();
        const bool atQuery = std::string(scenario).find("WQL") != std::string::npos;
        EXPECT_EQ(console, atQuery ? kTooLate + kConnected : kTooLate + kConnected + kBound + kFilled);
        EXPECT_EQ(sim::CurrentCounts().apartments, 0) << "the apartment is left on the way out";
    }
}

}  // namespace
