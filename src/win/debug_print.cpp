#include "debug_print.h"

#include <cstdarg>
#include <cstdio>
#include <memory>

#include "hresult_exception.h"
#include "platform.h"

namespace {

struct HeapRelease {
    void operator()(wchar_t* buffer) const { HeapFree(GetProcessHeap(), 0, buffer); }
};

struct VaListEnd {
    va_list& list;
    ~VaListEnd() { va_end(list); }
};

}  // namespace

void DebugPrint(const wchar_t* format, ...) {
    if (format == nullptr) throw HresultException(E_INVALIDARG, "DebugPrint");

    va_list arguments;
    va_start(arguments, format);
    VaListEnd endArguments{arguments};

    va_list measureArguments;
    va_copy(measureArguments, arguments);
    const int length = _vscwprintf(format, measureArguments);
    va_end(measureArguments);
    if (length < 0) throw HresultException(E_FAIL, "DebugPrint");

    const size_t capacity = static_cast<size_t>(length) + 1;
    std::unique_ptr<wchar_t, HeapRelease> buffer(
        static_cast<wchar_t*>(HeapAlloc(GetProcessHeap(), 0, capacity * sizeof(wchar_t))));
    if (!buffer) throw HresultException(E_OUTOFMEMORY, "DebugPrint");

    if (_vsnwprintf(buffer.get(), capacity, format, arguments) < 0) throw HresultException(E_FAIL, "DebugPrint");
    buffer.get()[length] = L'\0';
    OutputDebugStringW(buffer.get());
}

void LogEvent(const wchar_t* debuggerLine, const char* consoleLine) {
    DebugPrint(debuggerLine);
    printf("%s", consoleLine);
}
