// One complete call of the firmware's WMI method ExecINT (class
// QelButtonMethodDWSi in root\wmi): connect, fill the six register inputs,
// execute, read OutEDX, release everything. Each step reports on the console;
// a failed step does not end the call, and the caller learns only whether the
// firmware executed the method. A step whose object an earlier step left
// missing is not attempted; one console line, "[-] Skipped <step>: no
// <what>", says so. Of the strings made at the start only the namespace,
// class name, method name and "InEAX" are checked; a missing one is
// reported, and every string goes to WMI as it is.
#pragma once

// The six inputs, each the decimal text of an unsigned 32-bit register value.
struct ExecINTRegisters {
    const wchar_t* InEAX;
    const wchar_t* InEBX;
    const wchar_t* InECX;
    const wchar_t* InEDX;
    const wchar_t* InESI;
    const wchar_t* InEDI;
};

// Runs the call and returns true when the firmware executed the method:
// ExecMethod was reached and returned 0. It returns false when ExecMethod
// failed, or was skipped because an earlier step left it nothing to work on.
// With echoToDebugger on, the lines of the instance path read and of the
// execution are also written to the debugger output, each just before its
// console twin. Throws HresultException(E_OUTOFMEMORY) when one
// of the short-lived strings "WQL" or "__PATH" cannot be made; everything
// held is released on the way out.
[[nodiscard]] bool CallExecINT(const ExecINTRegisters& registers, bool echoToDebugger);
