// Kernel and C runtime services of the simulated platform: sleeping and the
// tick count, the debugger output channel, the process heap, message texts,
// wide text as UTF-8 and back, and the wide formatting helpers of the
// Microsoft C runtime.
#pragma once

#include <cstdarg>

#include "sim/surface/win_types.h"

void Sleep(DWORD dwMilliseconds);
// Milliseconds since the laptop started, on its clock (virtual or real).
ULONGLONG GetTickCount64();
void OutputDebugStringW(LPCWSTR lpOutputString);

HANDLE GetProcessHeap();
LPVOID HeapAlloc(HANDLE hHeap, DWORD dwFlags, SIZE_T dwBytes);
BOOL HeapFree(HANDLE hHeap, DWORD dwFlags, LPVOID lpMem);

enum : DWORD {
    FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200,
    FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000,
};
DWORD FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId,
                     LPWSTR lpBuffer, DWORD nSize, va_list* Arguments);

// UTF-16 text (here one unit per wchar_t) as UTF-8, as Windows converts it:
// surrogate pairs joined, a lone surrogate as U+FFFD. Only code page CP_UTF8,
// no flags and no default character; with cbMultiByte 0 it returns the size
// needed. 0 on any other request, or when the text does not fit.
enum : UINT { CP_UTF8 = 65001 };
int WideCharToMultiByte(UINT CodePage, DWORD dwFlags, LPCWSTR lpWideCharStr, int cchWideChar,
                        char* lpMultiByteStr, int cbMultiByte, const char* lpDefaultChar, BOOL* lpUsedDefaultChar);
// UTF-8 as UTF-16 (one unit per wchar_t): a character above U+FFFF as a
// surrogate pair; without flags, as on Windows, malformed input is replaced,
// not refused: here each byte that starts no well-formed sequence becomes
// U+FFFD. Only CP_UTF8 and no flags; with cchWideChar 0 it returns the size
// needed. 0 on any other request, or when the text does not fit.
int MultiByteToWideChar(UINT CodePage, DWORD dwFlags, const char* lpMultiByteStr, int cbMultiByte,
                        LPWSTR lpWideCharStr, int cchWideChar);

// Number of wide characters the formatting produces, without the terminator;
// negative when the format cannot be applied.
int _vscwprintf(const wchar_t* format, va_list argptr);
// Formats at most count wide characters; negative when the text does not fit.
int _vsnwprintf(wchar_t* buffer, size_t count, const wchar_t* format, va_list argptr);
