// Kernel and C runtime services of the simulated Windows surface.
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "platform.h"
#include "sim/model/surface_services.h"

namespace {

void AppendUtf8(std::string& out, wchar_t wide) {
    const auto code = static_cast<uint32_t>(wide);
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | ((code >> 18) & 0x07));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The one process heap; its handle only has to be distinct and non-null.
int processHeap;

// A Windows console shows each write at once; without this, a terminal here
// would show each console line only when the next one (which begins with the
// line break) arrives.
[[maybe_unused]] const bool consoleUnbuffered = std::setvbuf(stdout, nullptr, _IONBF, 0) == 0;

}  // namespace

void Sleep(DWORD dwMilliseconds) { sim::PassMs(dwMilliseconds); }

// The debugger channel: each message becomes one line on standard error,
// written with a single call so that nothing can come between its parts.
void OutputDebugStringW(LPCWSTR lpOutputString) {
    if (lpOutputString == nullptr) return;
    std::string line;
    for (const wchar_t* c = lpOutputString; *c != L'\0'; ++c) AppendUtf8(line, *c);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

HANDLE GetProcessHeap() { return &processHeap; }

LPVOID HeapAlloc(HANDLE hHeap, DWORD, SIZE_T dwBytes) {
    if (hHeap != &processHeap || FAILED(sim::TakeCallFault("HeapAlloc"))) return nullptr;
    return std::malloc(dwBytes == 0 ? 1 : dwBytes);
}

BOOL HeapFree(HANDLE hHeap, DWORD, LPVOID lpMem) {
    if (hHeap != &processHeap) return FALSE;
    std::free(lpMem);
    return TRUE;
}

int _vscwprintf(const wchar_t* format, va_list argptr) {
    wchar_t* text = nullptr;
    size_t length = 0;
    std::FILE* stream = open_wmemstream(&text, &length);
    if (stream == nullptr) return -1;
    const int count = std::vfwprintf(stream, format, argptr);
    std::fclose(stream);
    std::free(text);
    return count;
}

int _vsnwprintf(wchar_t* buffer, size_t count, const wchar_t* format, va_list argptr) {
    return std::vswprintf(buffer, count, format, argptr);
}
