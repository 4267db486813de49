// The Windows event log of the simulated surface. An event source is a handle
// of its own, counted until it is deregistered; each event reported under it
// becomes one line of the Windows event log file (SAR_SIM_EVENT_LOG):
//   <ms> TAB <type> TAB <event ID> [TAB <insertion string>]...
// The type is information, warning or error (success, or the number, for any
// other); the event ID is the one Event Viewer shows, the low 16 bits of the
// message ID; the strings are UTF-8, with backslash, tab, line feed and
// carriage return written as \\, \t, \n and \r so that a line stays a line.
#include <mutex>
#include <new>
#include <set>
#include <string>

#include "platform.h"
#include "sim/model/surface_services.h"

namespace {

struct EventSource {
    std::wstring name;
};

// The sources registered and not yet deregistered: a handle is valid only
// while it is here.
class EventSources {
public:
    HANDLE Register(std::wstring name) {
        auto* source = new EventSource{std::move(name)};
        std::lock_guard lock(mutex_);
        live_.insert(source);
        ++sim::counters.eventSources;
        return source;
    }

    bool IsLive(HANDLE handle) {
        std::lock_guard lock(mutex_);
        return live_.count(static_cast<EventSource*>(handle)) != 0;
    }

    bool Deregister(HANDLE handle) {
        auto* source = static_cast<EventSource*>(handle);
        {
            std::lock_guard lock(mutex_);
            if (live_.erase(source) == 0) return false;
        }
        --sim::counters.eventSources;
        delete source;
        return true;
    }

private:
    std::mutex mutex_;
    std::set<EventSource*> live_;
};

EventSources& TheEventSources() {
    static EventSources sources;
    return sources;
}

std::string TypeName(WORD type) {
    switch (type) {
        case EVENTLOG_ERROR_TYPE: return "error";
        case EVENTLOG_WARNING_TYPE: return "warning";
        case EVENTLOG_INFORMATION_TYPE: return "information";
        case EVENTLOG_SUCCESS: return "success";
        default: return std::to_string(type);
    }
}

// An insertion string as one field of the line.
std::string Field(LPCWSTR text) {
    if (text == nullptr) return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size > 0 ? size : 1), '\0');
    if (size > 0) WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), size, nullptr, nullptr);
    utf8.pop_back();  // the terminator
    std::string field;
    for (const char c : utf8) {
        switch (c) {
            case '\\': field += "\\\\"; break;
            case '\t': field += "\\t"; break;
            case '\n': field += "\\n"; break;
            case '\r': field += "\\r"; break;
            default: field += c;
        }
    }
    return field;
}

}  // namespace

// Out of memory, these fail as Windows' do: with no handle, or FALSE.
HANDLE RegisterEventSourceW(LPCWSTR lpUNCServerName, LPCWSTR lpSourceName) {
    if (lpUNCServerName != nullptr || lpSourceName == nullptr) return nullptr;
    try {
        return TheEventSources().Register(lpSourceName);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

BOOL ReportEventW(HANDLE hEventLog, WORD wType, WORD, DWORD dwEventID, PSID, WORD wNumStrings, DWORD,
                  LPCWSTR* lpStrings, LPVOID) {
    if (!TheEventSources().IsLive(hEventLog) || (wNumStrings > 0 && lpStrings == nullptr)) return FALSE;
    try {
        std::string line = TypeName(wType) + "\t" + std::to_string(dwEventID & 0xFFFF);
        for (WORD i = 0; i < wNumStrings; ++i) line += "\t" + Field(lpStrings[i]);
        sim::WindowsEventLog().Write(line);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
    return TRUE;
}

BOOL DeregisterEventSource(HANDLE hEventLog) { return TheEventSources().Deregister(hEventLog) ? TRUE : FALSE; }
