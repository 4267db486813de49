// One complete call of the firmware's WMI method ExecINT (class
// QelButtonMethodDWSi in root\wmi): connect, fill the six register inputs,
// execute, read OutEDX, release everything. Each step reports on the console;
// a failed step does not end the call, and the caller learns whether the
// firmware executed the method and, when not, which step kept it from
// running. A step whose object an earlier step left missing is not attempted;
// one console line, "[-] Skipped <step>: no <what>", says so. Of the strings
// made at the start only the namespace, class name, method name and "InEAX"
// are checked; a missing one is reported, and every string goes to WMI as it
// is.
#pragma once

#include "firmware/step_not_run.h"
#include "platform.h"

// The six inputs, each the decimal text of an unsigned 32-bit register value.
struct ExecINTRegisters {
    const wchar_t* InEAX;
    const wchar_t* InEBX;
    const wchar_t* InECX;
    const wchar_t* InEDX;
    const wchar_t* InESI;
    const wchar_t* InEDI;
};

// What became of one call.
struct ExecIntOutcome {
    // The firmware executed the method: ExecMethod was reached and returned 0.
    bool executed = false;
    // When it did not: the first step that failed or was passed over, named
    // as its console lines name it ("SysAllocString", "CoInitialize",
    // "CoInitializeSecurity", "CoCreateInstance", "ConnectServer",
    // "CoSetProxyBlanket", "ExecQuery", "Next", "GetObject", "GetMethod",
    // "SpawnInstance", "Put ArgName0" to "Put ArgName5", "pObj Get",
    // "ExecMethod"); null when it did. CoInitializeSecurity's RPC_E_TOO_LATE,
    // security set before, is no such failure.
    const char* failedStep = nullptr;
    // That step's status: what the platform returned (E_OUTOFMEMORY for a
    // string that could not be made), or kStepNotRun for a step passed over.
    HRESULT status = S_OK;
};

// Runs the call. With echoToDebugger on, the lines of the instance path read
// and of the execution are also written to the debugger output, each just
// before its console twin. Throws HresultException(E_OUTOFMEMORY) when one
// of the short-lived strings "WQL" or "__PATH" cannot be made; everything
// held is released on the way out.
[[nodiscard]] ExecIntOutcome CallExecINT(const ExecINTRegisters& registers, bool echoToDebugger);
