// OLE Automation strings and VARIANTs. A BSTR is preceded by its length in
// bytes, as on Windows, so SysStringLen needs no scan; every live BSTR is
// counted in sim::counters.bstrs.
#include <cstdlib>
#include <cwchar>
#include <string>
#include <string_view>

#include "platform.h"
#include "sim/model/surface_services.h"

namespace {

using LengthPrefix = uint32_t;

BSTR Allocate(std::wstring_view text) {
    const size_t bytes = text.size() * sizeof(OLECHAR);
    auto* block = static_cast<unsigned char*>(std::malloc(sizeof(LengthPrefix) + bytes + sizeof(OLECHAR)));
    if (block == nullptr) return nullptr;
    const auto prefix = static_cast<LengthPrefix>(bytes);
    std::memcpy(block, &prefix, sizeof prefix);
    auto* chars = reinterpret_cast<OLECHAR*>(block + sizeof(LengthPrefix));
    std::wmemcpy(chars, text.data(), text.size());
    chars[text.size()] = L'\0';
    sim::counters.bstrs.fetch_add(1);
    return chars;
}

unsigned char* BlockOf(BSTR text) { return reinterpret_cast<unsigned char*>(text) - sizeof(LengthPrefix); }

// An injected fault fails every SysAllocString ("SysAllocString") or only
// those of one text ("SysAllocString:WQL"), so a test can miss one string.
bool AllocationFails(const OLECHAR* text) { return sim::TakeCallFault("SysAllocString", text) != S_OK; }

}  // namespace

BSTR SysAllocString(const OLECHAR* psz) {
    if (psz == nullptr || AllocationFails(psz)) return nullptr;
    return Allocate(psz);
}

// Only the simulated laptop makes strings this way, so no fault applies.
BSTR SysAllocStringLen(const OLECHAR* strIn, UINT ui) {
    if (strIn == nullptr) return Allocate(std::wstring(ui, L'\0'));
    return Allocate({strIn, ui});
}

void SysFreeString(BSTR bstrString) {
    if (bstrString == nullptr) return;
    sim::counters.bstrs.fetch_sub(1);
    std::free(BlockOf(bstrString));
}

UINT SysStringLen(BSTR pbstr) {
    if (pbstr == nullptr) return 0;
    LengthPrefix bytes = 0;
    std::memcpy(&bytes, BlockOf(pbstr), sizeof bytes);
    return bytes / sizeof(OLECHAR);
}

void VariantInit(VARIANTARG* pvarg) {
    if (pvarg == nullptr) return;
    pvarg->vt = VT_EMPTY;
    pvarg->wReserved1 = pvarg->wReserved2 = pvarg->wReserved3 = 0;
}

// Frees what the VARIANT owns (a string, a reference) and leaves it empty.
HRESULT VariantClear(VARIANTARG* pvarg) {
    if (pvarg == nullptr) return E_INVALIDARG;
    if (pvarg->vt == VT_BSTR) SysFreeString(pvarg->bstrVal);
    if (pvarg->vt == VT_UNKNOWN && pvarg->punkVal != nullptr) pvarg->punkVal->Release();
    pvarg->vt = VT_EMPTY;
    return S_OK;
}
