#include "exec_int.h"

#include <cstddef>
#include <cstdio>
#include <initializer_list>
#include <optional>

#include "firmware/wmi_session.h"
#include "win/apartment.h"
#include "win/com_holders.h"
#include "win/com_ptr.h"
#include "win/debug_print.h"
#include "win/hresult_exception.h"

namespace {

// The steps of each input's Put, in register order, as their lines name them.
constexpr const char* kInputSteps[kExecIntInputCount] = {"Put ArgName0", "Put ArgName1", "Put ArgName2",
                                                         "Put ArgName3", "Put ArgName4", "Put ArgName5"};

// Statuses are shown as unsigned hexadecimal: 0x80070005, not a negative number.
unsigned Hex(HRESULT status) { return static_cast<unsigned>(status); }

// Something a step works on, and whether an earlier step delivered it.
struct Need {
    bool held;
    const char* what;
};

// Only these four of the names are checked; the others go to WMI as they
// are, where a null BSTR reads as the empty string and WMI answers with its
// status.
bool FirstFourMade(const FirmwareNames& names) {
    return names.nameSpace && names.className && names.methodName && names.inputNames[0];
}

class ExecIntCall {
public:
    ExecIntCall(const ExecINTRegisters& registers, bool echoToDebugger)
        : values_{registers.InEAX, registers.InEBX, registers.InECX,
                  registers.InEDX, registers.InESI, registers.InEDI},
          echo_(echoToDebugger) {}

    ExecIntOutcome Run() {
        ReportMissingStrings();
        InitializeCom();
        Connect();
        FindInstance();
        BindMethod();
        FillInputs();
        ReadInstancePath();
        Execute();
        return outcome_;
    }

private:
    void ReportMissingStrings();
    void InitializeCom();
    void Connect();
    void FindInstance();
    void BindMethod();
    void FillInputs();
    void ReadInstancePath();
    void Execute();
    void ReportExecution(HRESULT status);
    static void ReadOutput(com_ptr<IWbemClassObject>& outputs);

    bool Attempt(const char* step, std::initializer_list<Need> needs);
    void ReportComStart(const char* step, HRESULT status);
    // The error line names the step, or errorName where it differs.
    void ReportResult(const char* step, HRESULT status, const char* errorName = nullptr);
    void ReportError(const char* step, HRESULT status, const char* errorName = nullptr);
    void Note(const char* step, HRESULT status);

    bool HasServices() const { return session_.Services() != nullptr; }

    void Echo(const wchar_t* format, HRESULT status) const {
        if (echo_) DebugPrint(format, Hex(status));
    }

    const wchar_t* const values_[kExecIntInputCount];
    const bool echo_;
    ExecIntOutcome outcome_;

    // Declared in the reverse of the clean-up order, since members are
    // destroyed last-declared first: the strings are freed first, then the
    // class definition, input-parameter instance and definition, the
    // session's locator, services and enumerator, and the firmware instance
    // are released, and the apartment is left last -- on return and while an
    // exception passes through alike. The path VARIANT, emptied at its own
    // step, holds nothing by then unless an exception cut the call short.
    ComApartment apartment_;
    com_ptr<IWbemClassObject> instance_;
    WmiSession session_;
    com_ptr<IWbemClassObject> inputDefinition_;
    com_ptr<IWbemClassObject> inputInstance_;
    com_ptr<IWbemClassObject> classDefinition_;
    FirmwareNames strings_;
    OwnedVariant path_;
};

// The first step that failed or was passed over is the call's outcome,
// unless the method is executed after all.
void ExecIntCall::Note(const char* step, HRESULT status) {
    if (outcome_.failedStep == nullptr) outcome_ = {false, step, status};
}

// A step is attempted only when everything it works on is there; otherwise
// the console says which step was passed over and what it lacked.
bool ExecIntCall::Attempt(const char* step, std::initializer_list<Need> needs) {
    for (const Need& need : needs) {
        if (!need.held) {
            printf("\n[-] Skipped %s: no %s", step, need.what);
            Note(step, kStepNotRun);
            return false;
        }
    }
    return true;
}

// The COM start-up steps fail on a negative status only, and say nothing
// otherwise. CoInitializeSecurity's RPC_E_TOO_LATE says the process's
// security was set before, by an earlier call or by other means; the call
// goes on with it as with its own, so it is printed like any failure but is
// not what kept the method from running.
void ExecIntCall::ReportComStart(const char* step, HRESULT status) {
    if (SUCCEEDED(status)) return;
    printf("%s returned 0x%x:", step, Hex(status));
    printf("\n[-] Err: %s", step);
    if (status != RPC_E_TOO_LATE) Note(step, status);
}

// A step whose result line is printed whatever its status.
void ExecIntCall::ReportResult(const char* step, HRESULT status, const char* errorName) {
    printf("\n%s returned 0x%x:", step, Hex(status));
    ReportError(step, status, errorName);
}

// From ConnectServer on, any status but 0 is a failure.
void ExecIntCall::ReportError(const char* step, HRESULT status, const char* errorName) {
    if (status == 0) return;
    printf("\n[-] Err: %s", errorName != nullptr ? errorName : step);
    Note(step, status);
}

void ExecIntCall::ReportMissingStrings() {
    if (FirstFourMade(strings_)) return;
    printf("SysAllocString failed. Out of memory.\n");
    printf("\n[-] Err: xxx");
    Note("SysAllocString", E_OUTOFMEMORY);
}

void ExecIntCall::InitializeCom() {
    ReportComStart("CoInitialize", apartment_.Enter());
    ReportComStart("CoInitializeSecurity", SetProcessComSecurity());
    ReportComStart("CoCreateInstance", session_.CreateLocator());
}

void ExecIntCall::Connect() {
    if (Attempt("ConnectServer", {{session_.HasLocator(), "locator"}}))
        ReportResult("ConnectServer", session_.Connect(strings_.nameSpace.get()));

    if (Attempt("CoSetProxyBlanket", {{HasServices(), "services connection"}}))
        ReportError("CoSetProxyBlanket", session_.SetBlanket());
}

void ExecIntCall::FindInstance() {
    if (Attempt("ExecQuery", {{HasServices(), "services connection"}}))
        ReportError("ExecQuery", session_.QueryInstances(strings_.query.get()));

    // Only the first instance is ever used.
    if (Attempt("Next", {{session_.HasEnumerator(), "enumerator"}}))
        ReportError("Next", session_.NextInstance(instance_));
}

void ExecIntCall::BindMethod() {
    if (Attempt("GetObject", {{HasServices(), "services connection"}}))
        ReportResult("GetObject", session_.GetClass(strings_.className.get(), classDefinition_));

    if (Attempt("GetMethod", {{bool(classDefinition_), "class definition"}})) {
        const HRESULT status =
            GetMethodSignatures(classDefinition_.get(), strings_.methodName.get(), inputDefinition_.put(), nullptr);
        ReportResult("GetMethod", status);
    }

    if (Attempt("SpawnInstance", {{bool(inputDefinition_), "input-parameter definition"}}))
        ReportResult("SpawnInstance", inputDefinition_->SpawnInstance(0, inputInstance_.put()));
}

// Each register goes over as its decimal text, typed CIM_UINT32: WMI
// converts the text to the number.
void ExecIntCall::FillInputs() {
    for (size_t i = 0; i < kExecIntInputCount; ++i) {
        const char* step = kInputSteps[i];
        if (!Attempt(step, {{bool(inputInstance_), "input-parameter instance"}})) continue;
        OwnedVariant value;
        value.get()->vt = VT_BSTR;
        value.get()->bstrVal = SysAllocString(values_[i]);
        const HRESULT status = inputInstance_->Put(strings_.inputNames[i].get(), 0, value.get(), CIM_UINT32);
        value.Clear();
        ReportResult(step, status);
    }
}

void ExecIntCall::ReadInstancePath() {
    if (!Attempt("pObj Get", {{bool(instance_), "firmware instance"}})) return;
    HRESULT status;
    {
        const OwnedBstr name(L"__PATH");
        if (!name) throw HresultException(E_OUTOFMEMORY, "SysAllocString");
        status = instance_->Get(name.get(), 0, path_.get(), nullptr, nullptr);
    }
    Echo(L"[MS_SAR] pObj Get returned 0x%x:", status);
    ReportResult("pObj Get", status, "Get");
}

void ExecIntCall::Execute() {
    com_ptr<IWbemClassObject> outputs;
    std::optional<HRESULT> status;
    const bool pathHeld = (*path_).vt == VT_BSTR && (*path_).bstrVal != nullptr;
    if (Attempt("ExecMethod", {{HasServices(), "services connection"},
                               {pathHeld, "instance path"},
                               {bool(inputInstance_), "input-parameter instance"}}))
        status = session_.Services()->ExecMethod((*path_).bstrVal, strings_.methodName.get(), 0, nullptr,
                                                 inputInstance_.get(), outputs.put(), nullptr);
    path_.Clear();
    if (status) ReportExecution(*status);
    if (echo_) DebugPrint(L"[MS_SAR] Terminating normally");
    printf("Terminating normally\n");
    ReadOutput(outputs);
}

// The debugger's error line goes between the console's result and error
// lines. A method the firmware executed makes the call a success, whatever
// failed on the way.
void ExecIntCall::ReportExecution(HRESULT status) {
    Echo(L"[MS_SAR] ExecMethod returned 0x%x:", status);
    printf("\nExecMethod returned 0x%x:", Hex(status));
    if (status == 0) {
        outcome_ = {true, nullptr, S_OK};
        return;
    }
    if (echo_) DebugPrint(L"[MS_SAR] [-] Err: ExecMethod");
    ReportError("ExecMethod", status);
}

// OutEDX is read as the method's contract has it, but neither its status
// nor its value is used.
void ExecIntCall::ReadOutput(com_ptr<IWbemClassObject>& outputs) {
    if (!outputs) return;
    OwnedVariant value;
    outputs->Get(kExecIntOutputName, 0, value.get(), nullptr, nullptr);
    value.Clear();
    outputs.reset();
}

}  // namespace

ExecIntOutcome CallExecINT(const ExecINTRegisters& registers, bool echoToDebugger) {
    ExecIntCall call(registers, echoToDebugger);
    return call.Run();
}
