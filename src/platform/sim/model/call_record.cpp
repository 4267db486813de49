#include "sim/model/call_record.h"

#include <cstdio>
#include <map>
#include <mutex>

#include "sim/model/plain_text.h"

namespace sim {
namespace {

struct CallRecord {
    std::mutex mutex;
    bool on = false;
    std::vector<std::string> calls;
    std::map<const void*, std::string> names;
    int objectsNamed = 0;
};

CallRecord& TheRecord() {
    static CallRecord record;
    return record;
}

}  // namespace

void StartCallRecord() {
    CallRecord& record = TheRecord();
    std::lock_guard lock(record.mutex);
    record.on = true;
    record.calls.clear();
    record.names.clear();
    record.objectsNamed = 0;
}

std::vector<std::string> StopCallRecord() {
    CallRecord& record = TheRecord();
    std::lock_guard lock(record.mutex);
    record.on = false;
    return std::move(record.calls);
}

bool RecordingCalls() {
    CallRecord& record = TheRecord();
    std::lock_guard lock(record.mutex);
    return record.on;
}

void RecordCall(const char* name, std::initializer_list<std::string> arguments, const std::string& result) {
    std::string line = std::string(name) + "(";
    const char* separator = "";
    for (const std::string& argument : arguments) {
        line += separator + argument;
        separator = ", ";
    }
    line += ")";
    if (!result.empty()) line += " -> " + result;
    CallRecord& record = TheRecord();
    std::lock_guard lock(record.mutex);
    if (record.on) record.calls.push_back(std::move(line));
}

std::string TextArg(const wchar_t* text) { return text == nullptr ? "null" : "\"" + AsciiText(text) + "\""; }

std::string PointerArg(const void* pointer) { return pointer == nullptr ? "null" : "set"; }

std::string GuidArg(const GUID& guid) {
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                  guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

std::string VariantArg(const VARIANT* value) {
    if (value == nullptr) return "null";
    switch (value->vt) {
    case VT_EMPTY: return "VT_EMPTY";
    case VT_NULL: return "VT_NULL";
    case VT_BSTR: return "VT_BSTR " + TextArg(value->bstrVal);
    case VT_I4: return "VT_I4 " + std::to_string(value->lVal);
    case VT_UI4: return "VT_UI4 " + std::to_string(value->ulVal);
    default: return "VT " + std::to_string(value->vt);
    }
}

std::string NewObjectArg(const void* object, const char* kind) {
    CallRecord& record = TheRecord();
    std::lock_guard lock(record.mutex);
    std::string name = std::string(kind) + " " + std::to_string(++record.objectsNamed);
    record.names[object] = name;
    return name;
}

std::string ObjectArg(const void* object) {
    CallRecord& record = TheRecord();
    std::lock_guard lock(record.mutex);
    const auto found = record.names.find(object);
    return found == record.names.end() ? PointerArg(object) : found->second;
}

}  // namespace sim
