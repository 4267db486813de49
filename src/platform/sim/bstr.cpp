// OLE Automation strings of the simulated Windows surface: a BSTR points at
// its characters, preceded by their length and followed by a NUL. Each one is
// counted until it is freed.
#include <cstdlib>
#include <cwchar>

#include "accounting.h"
#include "laptop.h"
#include "platform.h"

namespace {

struct alignas(std::max_align_t) BstrHeader {
    UINT length;  // characters, without the terminator
};

BstrHeader* HeaderOf(BSTR text) { return reinterpret_cast<BstrHeader*>(text) - 1; }

}  // namespace

BSTR SysAllocString(const OLECHAR* psz) {
    if (psz == nullptr) return nullptr;
    if (FAILED(sim::TheLaptop().TakeFault("SysAllocString"))) return nullptr;
    const size_t length = std::wcslen(psz);
    auto* header = static_cast<BstrHeader*>(std::malloc(sizeof(BstrHeader) + (length + 1) * sizeof(OLECHAR)));
    if (header == nullptr) return nullptr;
    header->length = static_cast<UINT>(length);
    auto* text = reinterpret_cast<OLECHAR*>(header + 1);
    std::wmemcpy(text, psz, length + 1);
    sim::counters.bstrs.fetch_add(1);
    return text;
}

void SysFreeString(BSTR bstrString) {
    if (bstrString == nullptr) return;
    sim::counters.bstrs.fetch_sub(1);
    std::free(HeaderOf(bstrString));
}

UINT SysStringLen(BSTR pbstr) { return pbstr == nullptr ? 0 : HeaderOf(pbstr)->length; }
