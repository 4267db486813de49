// A record of the platform calls the system makes on the simulated laptop,
// each with the arguments it was really given, so that tests read what went
// over instead of trusting the code that sends it. Recording is off unless a
// test starts it; while it is on, each recorded call is kept as one line,
// "Name(argument, ...)".
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform.h"

namespace sim {

// Starts a fresh record.
void StartCallRecord();

// The calls recorded since StartCallRecord; recording is off again.
std::vector<std::string> StopCallRecord();

bool RecordingCalls();

// Keeps "name(arguments...)" when recording is on, or with a result the call
// handed out, "name(arguments...) -> result".
void RecordCall(const char* name, std::initializer_list<std::string> arguments, const std::string& result = {});

// Arguments as the record shows them.
std::string TextArg(const wchar_t* text);    // "text" in quotes, or null
std::string PointerArg(const void* pointer);  // null or set
std::string GuidArg(const GUID& guid);        // {4590F811-1D3A-11D0-891F-00AA004B2E24}
std::string VariantArg(const VARIANT* value); // VT_BSTR "38448", VT_I4 5, VT_EMPTY, null

// An object the record names, "<kind> N", N counting from 1 in the order the
// record met objects of any kind made: NewObjectArg when the object is handed
// out, ObjectArg wherever it is used later.
std::string NewObjectArg(const void* object, const char* kind);
std::string ObjectArg(const void* object);

}  // namespace sim
