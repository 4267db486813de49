// Kernel and C runtime services of the simulated platform: sleeping and the
// tick count, the thread's last error, the debugger output channel, kernel
// objects and waits, the process heap and local memory, message texts, wide
// text as UTF-8 and back, and the wide formatting helpers of the Microsoft C
// runtime.
#pragma once

#include <cstdarg>

#include "sim/surface/win_types.h"

void Sleep(DWORD dwMilliseconds);
// Milliseconds since the laptop started, on its clock (virtual or real).
ULONGLONG GetTickCount64();

// The calling thread's last error, which a failing function sets.
DWORD GetLastError();
void SetLastError(DWORD dwErrCode);
void OutputDebugStringW(LPCWSTR lpOutputString);

// Kernel objects, reached through handles: events, mutexes, and process
// tokens (win_security.h). A wait with a time limit is timed by the laptop's
// clock, so on the virtual clock it passes in virtual time. Handles are
// counted: one not closed is left over at exit.
struct SECURITY_ATTRIBUTES {
    DWORD nLength;
    LPVOID lpSecurityDescriptor;
    BOOL bInheritHandle;
};
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

enum : DWORD {
    INFINITE = 0xFFFFFFFF,
    WAIT_OBJECT_0 = 0,
    WAIT_ABANDONED = 0x80,
    WAIT_TIMEOUT = 258,
    WAIT_FAILED = 0xFFFFFFFF,
};

enum : DWORD {
    MUTEX_MODIFY_STATE = 0x0001,
    EVENT_MODIFY_STATE = 0x0002,
    SYNCHRONIZE = 0x00100000,
};

// Events and mutexes, unnamed or named. A name is the process's own: the
// simulated laptop runs one process, so no other process finds it (Windows'
// "Global\" and "Local\" prefixes are part of the name here). Creating under a
// name already taken opens that object, ignoring the attributes, with the
// last error ERROR_ALREADY_EXISTS (0 after a new one); a name another kind of
// object has is refused with ERROR_INVALID_HANDLE. A new object carries the
// attributes' security descriptor (win_security.h), or without one the
// process's account as owner and no DACL; an owner the token may not set is
// refused with ERROR_INVALID_OWNER. Opening finds the object by name
// (ERROR_FILE_NOT_FOUND when none); the access asked for is not checked, as
// only the process that made an object can open it. No handle is inherited.
HANDLE CreateEventW(LPSECURITY_ATTRIBUTES lpEventAttributes, BOOL bManualReset, BOOL bInitialState, LPCWSTR lpName);
HANDLE OpenEventW(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCWSTR lpName);
BOOL SetEvent(HANDLE hEvent);
// A mutex is held by a thread, as often as it took it; a thread that ends
// holding it abandons it, and the wait that takes it next returns
// WAIT_ABANDONED. ReleaseMutex by a thread that does not hold it:
// ERROR_NOT_OWNER.
HANDLE CreateMutexW(LPSECURITY_ATTRIBUTES lpMutexAttributes, BOOL bInitialOwner, LPCWSTR lpName);
HANDLE OpenMutexW(DWORD dwDesiredAccess, BOOL bInheritHandle, LPCWSTR lpName);
BOOL ReleaseMutex(HANDLE hMutex);
DWORD WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds);
BOOL CloseHandle(HANDLE hObject);

// Frees a block a function handed out to be freed so (a security descriptor,
// its SDDL text); always null.
using HLOCAL = void*;
HLOCAL LocalFree(HLOCAL hMem);

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
