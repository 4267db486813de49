// Windows Runtime strings of the simulated Windows surface. A created string
// is one counted heap block; a string reference lives in the caller's
// HSTRING_HEADER and buffer, is not counted and is never freed.
#include <cstdlib>
#include <cwchar>
#include <new>

#include "platform.h"
#include "sim/model/surface_services.h"

struct HSTRING__ {
    bool isReference;
    UINT32 length;
    const wchar_t* text;  // NUL-terminated
};
static_assert(sizeof(HSTRING__) <= sizeof(HSTRING_HEADER) && alignof(HSTRING__) <= alignof(HSTRING_HEADER));

HRESULT WindowsCreateString(PCNZWCH sourceString, UINT32 length, HSTRING* string) {
    if (string == nullptr) return E_INVALIDARG;
    *string = nullptr;
    if (sourceString == nullptr && length != 0) return E_POINTER;
    if (FAILED(sim::TakeCallFault("WindowsCreateString"))) return E_OUTOFMEMORY;
    if (length == 0) return S_OK;  // the empty string is the null HSTRING
    void* block = std::malloc(sizeof(HSTRING__) + (static_cast<size_t>(length) + 1) * sizeof(wchar_t));
    if (block == nullptr) return E_OUTOFMEMORY;
    auto* text = reinterpret_cast<wchar_t*>(static_cast<char*>(block) + sizeof(HSTRING__));
    std::wmemcpy(text, sourceString, length);
    text[length] = L'\0';
    *string = new (block) HSTRING__{false, length, text};
    sim::counters.hstrings.fetch_add(1);
    return S_OK;
}

HRESULT WindowsCreateStringReference(PCWSTR sourceString, UINT32 length, HSTRING_HEADER* hstringHeader,
                                     HSTRING* string) {
    if (string == nullptr || hstringHeader == nullptr) return E_INVALIDARG;
    *string = nullptr;
    if (sourceString == nullptr && length != 0) return E_INVALIDARG;
    if (length == 0) return S_OK;
    if (sourceString[length] != L'\0') return E_INVALIDARG;  // a reference must be NUL-terminated
    *string = new (hstringHeader) HSTRING__{true, length, sourceString};
    return S_OK;
}

HRESULT WindowsDeleteString(HSTRING string) {
    if (string == nullptr || string->isReference) return S_OK;
    string->~HSTRING__();
    std::free(string);
    sim::counters.hstrings.fetch_sub(1);
    return S_OK;
}

PCWSTR WindowsGetStringRawBuffer(HSTRING string, UINT32* length) {
    if (length != nullptr) *length = string == nullptr ? 0 : string->length;
    return string == nullptr ? L"" : string->text;
}
