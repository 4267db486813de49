// Kernel and C runtime services of the simulated Windows surface.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <string_view>
#include <utility>

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

// The code point of the UTF-8 sequence at text[at], and its length in bytes;
// U+FFFD and 1 for a byte that starts no well-formed sequence (a stray
// continuation byte, a sequence cut short, an overlong form, a surrogate or a
// value above U+10FFFF).
std::pair<uint32_t, size_t> DecodeUtf8(std::string_view text, size_t at) {
    constexpr std::pair<uint32_t, size_t> kMalformed{0xFFFD, 1};
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return {lead, 1};
    const size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || at + length > text.size()) return kMalformed;
    uint32_t code = lead & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return kMalformed;
        code = (code << 6) | (next & 0x3F);
    }
    constexpr uint32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return kMalformed;
    return {code, length};
}

// UTF-8 as UTF-16, one unit per wchar_t: characters above U+FFFF as
// surrogate pairs.
std::wstring Utf16Of(std::string_view text) {
    std::wstring out;
    for (size_t at = 0; at < text.size();) {
        const auto [code, length] = DecodeUtf8(text, at);
        at += length;
        if (code < 0x10000) {
            out += static_cast<wchar_t>(code);
        } else {
            out += static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    return out;
}

// A converted text as Windows' conversions hand it out: with no room offered,
// the size it needs; else the text copied into `out`, or 0 when it does not
// fit. Sizes in units of Char.
template <typename Char>
int HandOut(const std::basic_string<Char>& text, Char* out, int room) {
    if (room == 0) return static_cast<int>(text.size());
    if (text.size() > static_cast<size_t>(room) || out == nullptr) return 0;
    std::copy(text.begin(), text.end(), out);
    return static_cast<int>(text.size());
}

// The one process heap; its handle only has to be distinct and non-null.
int processHeap;

// A Windows console shows each write at once; without this, a terminal here
// would show each console line only when the next one (which begins with the
// line break) arrives.
[[maybe_unused]] const bool consoleUnbuffered = std::setvbuf(stdout, nullptr, _IONBF, 0) == 0;

}  // namespace

void Sleep(DWORD dwMilliseconds) { sim::PassMs(dwMilliseconds); }

ULONGLONG GetTickCount64() { return sim::NowMs(); }

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
    return HandOut(Utf8Of({lpWideCharStr, units}), lpMultiByteStr, cbMultiByte);
}

int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, const char* lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar) {
    if (CodePage != CP_UTF8 || dwFlags != 0 || lpMultiByteStr == nullptr || cbMultiByte < -1 || cchWideChar < 0)
        return 0;
    // -1: the text up to its terminator, which is converted too.
    const size_t bytes = cbMultiByte == -1 ? std::strlen(lpMultiByteStr) + 1 : static_cast<size_t>(cbMultiByte);
    return HandOut(Utf16Of({lpMultiByteStr, bytes}), lpWideCharStr, cchWideChar);
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
