// The two output channels: console lines go through printf; debugger lines
// through DebugPrint, which formats a wide message and hands it whole, as one
// message, to the platform's debugger output.
#pragma once

// Formats and sends one debugger message. Throws HresultException with
// E_INVALIDARG for a null format, E_FAIL when the format cannot be applied and
// E_OUTOFMEMORY when no buffer can be had; nothing is written then.
void DebugPrint(const wchar_t* format, ...);

// Writes one supervisor event on both channels, debugger line first. The
// lines are literals without conversions, so each serves as its own format.
void LogEvent(const wchar_t* debuggerLine, const char* consoleLine);
