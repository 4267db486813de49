#include "event_log.h"

#include <vector>

namespace {

constexpr wchar_t kEventSource[] = L"sar-coordinator";

// A registered event source, deregistered when its holder ends.
class EventSource {
public:
    EventSource() : handle_(RegisterEventSourceW(nullptr, kEventSource)) {}
    EventSource(const EventSource&) = delete;
    EventSource& operator=(const EventSource&) = delete;
    ~EventSource() {
        if (handle_ != nullptr) DeregisterEventSource(handle_);
    }

    HANDLE get() const { return handle_; }

private:
    const HANDLE handle_;
};

}  // namespace

void ReportToEventLog(EventType type, DWORD eventId, std::initializer_list<std::wstring> strings) {
    std::vector<LPCWSTR> texts;
    for (const std::wstring& text : strings) texts.push_back(text.c_str());
    const EventSource source;
    if (source.get() == nullptr) return;
    ReportEventW(source.get(), static_cast<WORD>(type), 0, eventId, nullptr, static_cast<WORD>(texts.size()), 0,
                 texts.empty() ? nullptr : texts.data(), nullptr);
}
