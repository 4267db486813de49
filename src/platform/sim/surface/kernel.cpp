// Kernel and C runtime services of the simulated Windows surface.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>
#include <string_view>

#include "platform.h"
#include "sim/model/surface_services.h"

namespace {

void AppendUtf8(std::string& out, uint32_t code) {
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

bool IsHighSurrogate(uint32_t code) { return code >= 0xD800 && code <= 0xDBFF; }
bool IsLowSurrogate(uint32_t code) { return code >= 0xDC00 && code <= 0xDFFF; }

// Wide text taken as UTF-16, one unit per wchar_t, in UTF-8 as Windows
// converts it: surrogate pairs joined, anything else that is no character
// replaced by U+FFFD.
std::string Utf8Of(std::wstring_view text) {
    constexpr uint32_t kReplacement = 0xFFFD;
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t code = static_cast<uint32_t>(text[i]);
        if (IsHighSurrogate(code) && i + 1 < text.size() && IsLowSurrogate(static_cast<uint32_t>(text[i + 1]))) {
            code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<uint32_t>(text[++i]) - 0xDC00);
        } else if (IsHighSurrogate(code) || IsLowSurrogate(code) || code > 0x10FFFF) {
            code = kReplacement;
        }
        AppendUtf8(out, code);
    }
    return out;
}

thread_local DWORD lastError = 0;

// The one process heap; its handle only has to be distinct and non-null.
int processHeap;

// A Windows console shows each write at once; without this, a terminal here
// would show each console line only when the next one (which begins with the
// line break) arrives.
[[maybe_unused]] const bool consoleUnbuffered = std::setvbuf(stdout, nullptr, _IONBF, 0) == 0;

}  // namespace

void Sleep(DWORD dwMilliseconds) { sim::PassMs(dwMilliseconds); }

DWORD GetLastError() { return lastError; }

void SetLastError(DWORD dwErrCode) { lastError = dwErrCode; }

// The debugger channel: each message becomes one line on standard error,
// written with a single call so that nothing can come between its parts.
void OutputDebugStringW(LPCWSTR lpOutputString) {
    if (lpOutputString == nullptr) return;
    std::string line = Utf8Of(lpOutputString);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        char* lpMultiByteStr, int cbMultiByte, const char* lpDefaultChar, BOOL* lpUsedDefaultChar) {
    if (CodePage != CP_UTF8 || dwFlags != 0 || lpWideCharStr == nullptr || cchWideChar < -1 || cbMultiByte < 0 ||
        lpDefaultChar != nullptr || lpUsedDefaultChar != nullptr)
        return 0;
    // -1: the text up to its terminator, which is converted too.
    const size_t units = cchWideChar == -1 ? std::wcslen(lpWideCharStr) + 1 : static_cast<size_t>(cchWideChar);
    const std::string text = Utf8Of({lpWideCharStr, units});
    if (cbMultiByte == 0) return static_cast<int>(text.size());
    if (text.size() > static_cast<size_t>(cbMultiByte) || lpMultiByteStr == nullptr) return 0;
    std::copy(text.begin(), text.end(), lpMultiByteStr);
    return static_cast<int>(text.size());
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
