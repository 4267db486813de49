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

// The lines of each input's Put, in register order.
struct InputLines {
    const char* step;
    const char* result;
    const char* error;
};
constexpr InputLines kInputLines[kExecIntInputCount] = {
    {"Put ArgName0", "\nPut ArgName0 returned 0x%x:", "\n[-] Err: Put ArgName0"},
    {"Put ArgName1", "\nPut ArgName1 returned 0x%x:", "\n[-] Err: Put ArgName1"},
    {"Put ArgName2", "\nPut ArgName2 returned 0x%x:", "\n[-] Err: Put ArgName2"},
    {"Put ArgName3", "\nPut ArgName3 returned 0x%x:", "\n[-] Err: Put ArgName3"},
    {"Put ArgName4", "\nPut ArgName4 returned 0x%x:", "\n[-] Err: Put ArgName4"},
    {"Put ArgName5", "\nPut ArgName5 returned 0x%x:", "\n[-] Err: Put ArgName5"},
};

// Statuses are shown as unsigned hexadecimal: 0x80070005, not a negative number.
unsigned Hex(HRESULT status) { return static_cast<unsigned>(status); }

// Something a step works on, and whether an earlier step delivered it.
struct Need {
    bool held;
    const char* what;
};

// A step is attempted only when everything it works on is there; otherwise
// the console says which step was passed over and what it lacked.
bool Attempt(const char* step, std::initializer_list<Need> needs) {
    for (const Need& need : needs) {
        if (!need.held) {
            printf("\n[-] Skipped %s: no %s", step, need.what);
            return false;
        }
    }
    return true;
}

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

    // True when the firmware executed the method: ExecMethod was reached
    // and returned 0.
    bool Run() {
        ReportMissingStrings();
        InitializeCom();
        Connect();
        FindInstance();
        BindMethod();
        FillInputs();
        ReadInstancePath();
        return Execute();
    }

private:
    void ReportMissingStrings();
    void InitializeCom();
    void Connect();
    void FindInstance();
    void BindMethod();
    void FillInputs();
    void ReadInstancePath();
    bool Execute();
    void ReportExecution(HRESULT status);
    static void ReadOutput(com_ptr<IWbemClassObject>& outputs);

    bool HasServices() const { return session_.Services() != nullptr; }

    void Echo(const wchar_t* format, HRESULT status) const {
        if (echo_) DebugPrint(format, Hex(status));
    }

    const wchar_t* const values_[kExecIntInputCount];
    const bool echo_;

    // Declared in the reverse of the clean-up order, since members are
    // destroyed last-declared first: the strings are freed first, then the
    // class definition, input-parameter instance and definition, the
    // session's locator, services and enumerator, and the firmware instance
    // are released, and the
    // apartment is left last -- on return and while an exception passes
    // through alike. The path VARIANT, emptied at its own step, holds
    // nothing by then unless an exception cut the call short.
    ComApartment apartment_;
    com_ptr<IWbemClassObject> instance_;
    WmiSession session_;
    com_ptr<IWbemClassObject> inputDefinition_;
    com_ptr<IWbemClassObject> inputInstance_;
    com_ptr<IWbemClassObject> classDefinition_;
    FirmwareNames strings_;
    OwnedVariant path_;
};

void ExecIntCall::ReportMissingStrings() {
    if (FirstFourMade(strings_)) return;
    printf("SysAllocString failed. Out of memory.\n");
    printf("\n[-] Err: xxx");
}

void ExecIntCall::InitializeCom() {
    if (const HRESULT status = apartment_.Enter(); FAILED(status)) {
        printf("CoInitialize returned 0x%x:", Hex(status));
        printf("\n[-] Err: CoInitialize");
    }

    const HRESULT security = SetProcessComSecurity();
    if (FAILED(security)) {
        printf("CoInitializeSecurity returned 0x%x:", Hex(security));
        printf("\n[-] Err: CoInitializeSecurity");
    }

    const HRESULT created = session_.CreateLocator();
    if (FAILED(created)) {
        printf("CoCreateInstance returned 0x%x:", Hex(created));
        printf("\n[-] Err: CoCreateInstance");
    }
}

void ExecIntCall::Connect() {
    if (Attempt("ConnectServer", {{session_.HasLocator(), "locator"}})) {
        const HRESULT status = session_.Connect(strings_.nameSpace.get());
        printf("\nConnectServer returned 0x%x:", Hex(status));
        if (status != 0) printf("\n[-] Err: ConnectServer");
    }

    if (Attempt("CoSetProxyBlanket", {{HasServices(), "services connection"}})) {
        const HRESULT status = session_.SetBlanket();
        if (status != 0) printf("\n[-] Err: CoSetProxyBlanket");
    }
}

void ExecIntCall::FindInstance() {
    if (Attempt("ExecQuery", {{HasServices(), "services connection"}})) {
        const HRESULT status = session_.QueryInstances(strings_.query.get());
        if (status != 0) printf("\n[-] Err: ExecQuery");
    }

    // Only the first instance is ever used.
    if (Attempt("Next", {{session_.HasEnumerator(), "enumerator"}})) {
        const HRESULT status = session_.NextInstance(instance_);
        if (status != 0) printf("\n[-] Err: Next");
    }
}

void ExecIntCall::BindMethod() {
    if (Attempt("GetObject", {{HasServices(), "services connection"}})) {
        const HRESULT status = session_.GetClass(strings_.className.get(), classDefinition_);
        printf("\nGetObject returned 0x%x:", Hex(status));
        if (status != 0) printf("\n[-] Err: GetObject");
    }

    if (Attempt("GetMethod", {{bool(classDefinition_), "class definition"}})) {
        const HRESULT status =
            GetMethodSignatures(classDefinition_.get(), strings_.methodName.get(), inputDefinition_.put(), nullptr);
        printf("\nGetMethod returned 0x%x:", Hex(status));
        if (status != 0) printf("\n[-] Err: GetMethod");
    }

    if (Attempt("SpawnInstance", {{bool(inputDefinition_), "input-parameter definition"}})) {
        const HRESULT status = inputDefinition_->SpawnInstance(0, inputInstance_.put());
        printf("\nSpawnInstance returned 0x%x:", Hex(status));
        if (status != 0) printf("\n[-] Err: SpawnInstance");
    }
}

// Each register goes over as its decimal text, typed CIM_UINT32: WMI
// converts the text to the number.
void ExecIntCall::FillInputs() {
    for (size_t i = 0; i < kExecIntInputCount; ++i) {
        const InputLines& lines = kInputLines[i];
        if (!Attempt(lines.step, {{bool(inputInstance_), "input-parameter instance"}})) continue;
        OwnedVariant value;
        value.get()->vt = VT_BSTR;
        value.get()->bstrVal = SysAllocString(values_[i]);
        const HRESULT status = inputInstance_->Put(strings_.inputNames[i].get(), 0, value.get(), CIM_UINT32);
        value.Clear();
        printf(lines.result, Hex(status));
        if (status != 0) printf("%s", lines.error);
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
    printf("\npObj Get returned 0x%x:", Hex(status));
    if (status != 0) printf("\n[-] Err: Get");
}

bool ExecIntCall::Execute() {
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
    return status.has_value() && *status == WBEM_S_NO_ERROR;
}

void ExecIntCall::ReportExecution(HRESULT status) {
    Echo(L"[MS_SAR] ExecMethod returned 0x%x:", status);
    printf("\nExecMethod returned 0x%x:", Hex(status));
    if (status == 0) return;
    if (echo_) DebugPrint(L"[MS_SAR] [-] Err: ExecMethod");
    printf("\n[-] Err: ExecMethod");
}

// OutEDX is read as the method's contract has it, but neither its status
// nor its value is used.
void ExecIntCall::ReadOutput(com_ptr<IWbemClassObject>& outputs) {
    if (!outputs) return;
    OwnedVariant value;
    outputs->Get(L"OutEDX", 0, value.get(), nullptr, nullptr);
    value.Clear();
    outputs.reset();
}

}  // namespace

bool CallExecINT(const ExecINTRegisters& registers, bool echoToDebugger) {
    ExecIntCall call(registers, echoToDebugger);
    return call.Run();
}
