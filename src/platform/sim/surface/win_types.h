// Basic Windows types, status codes and calling-convention macros for the
// simulated platform. Only the names the system and the simulator use are
// declared, each with the width it has on 64-bit Windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#define WINAPI
#define STDMETHODCALLTYPE
#define STDAPICALLTYPE
#define __stdcall

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using ULONGLONG = uint64_t;
using UINT = uint32_t;
using INT32 = int32_t;
using UINT32 = uint32_t;
using BOOL = int32_t;
using boolean = unsigned char;
using SIZE_T = size_t;
using HRESULT = int32_t;
using SHORT = int16_t;
using USHORT = uint16_t;
using VARTYPE = uint16_t;
using CIMTYPE = LONG;

// Wide characters are wchar_t on both builds; on Linux that is 32 bits wide,
// which changes nothing for code that only ever handles wide text as text.
using WCHAR = wchar_t;
using OLECHAR = WCHAR;
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using PCWSTR = const WCHAR*;
using PCNZWCH = const WCHAR*;
using LPOLESTR = OLECHAR*;
using BSTR = OLECHAR*;

using LPVOID = void*;
using LPCVOID = const void*;
using HANDLE = void*;
using PSECURITY_DESCRIPTOR = void*;
using RPC_AUTH_IDENTITY_HANDLE = void*;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)

constexpr HRESULT MakeHresult(uint32_t value) { return static_cast<HRESULT>(value); }

#define S_OK MakeHresult(0x00000000u)
#define S_FALSE MakeHresult(0x00000001u)
#define E_NOTIMPL MakeHresult(0x80004001u)
#define E_NOINTERFACE MakeHresult(0x80004002u)
#define E_POINTER MakeHresult(0x80004003u)
#define E_FAIL MakeHresult(0x80004005u)
#define E_ACCESSDENIED MakeHresult(0x80070005u)
#define E_OUTOFMEMORY MakeHresult(0x8007000Eu)
#define E_INVALIDARG MakeHresult(0x80070057u)
#define E_BOUNDS MakeHresult(0x8000000Bu)
#define E_ILLEGAL_METHOD_CALL MakeHresult(0x8000000Eu)
#define CLASS_E_NOAGGREGATION MakeHresult(0x80040110u)
#define CLASS_E_CLASSNOTAVAILABLE MakeHresult(0x80040111u)
#define REGDB_E_CLASSNOTREG MakeHresult(0x80040154u)
#define CO_E_NOTINITIALIZED MakeHresult(0x800401F0u)
#define RPC_E_CHANGED_MODE MakeHresult(0x80010106u)
#define RPC_E_TOO_LATE MakeHresult(0x80010119u)
#define RPC_E_WRONG_THREAD MakeHresult(0x8001010Eu)

enum : DWORD {
    ERROR_FILE_NOT_FOUND = 2,
    ERROR_INVALID_HANDLE = 6,
    ERROR_NOT_ENOUGH_MEMORY = 8,
    ERROR_NOT_SUPPORTED = 50,
    ERROR_INVALID_PARAMETER = 87,
    ERROR_INSUFFICIENT_BUFFER = 122,
    ERROR_ALREADY_EXISTS = 183,
    ERROR_NOT_OWNER = 288,
    ERROR_INVALID_OWNER = 1307,
    ERROR_NONE_MAPPED = 1332,
    ERROR_TIMEOUT = 1460,
};

constexpr HRESULT HRESULT_FROM_WIN32(DWORD error) {
    return static_cast<HRESULT>(error) <= 0 ? static_cast<HRESULT>(error)
                                            : static_cast<HRESULT>((error & 0x0000FFFFu) | 0x80070000u);
}

struct GUID {
    uint32_t Data1;
    uint16_t Data2;
    uint16_t Data3;
    uint8_t Data4[8];
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using REFGUID = const GUID&;

inline bool operator==(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
inline bool operator!=(const GUID& a, const GUID& b) { return !(a == b); }
