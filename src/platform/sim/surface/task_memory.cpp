// COM task memory of the simulated Windows surface, counted so tests can see
// that every block handed out was freed.
#include <cstdlib>

#include "platform.h"
#include "sim/model/surface_services.h"

namespace {

// Each block carries its own header so that freeing needs no lookup.
struct alignas(std::max_align_t) BlockHeader {
    SIZE_T size;
};

}  // namespace

LPVOID CoTaskMemAlloc(SIZE_T cb) {
    if (FAILED(sim::TakeCallFault("CoTaskMemAlloc"))) return nullptr;
    auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + cb));
    if (header == nullptr) return nullptr;
    header->size = cb;
    sim::counters.taskMemory.fetch_add(1);
    return header + 1;
}

void CoTaskMemFree(LPVOID pv) {
    if (pv == nullptr) return;
    sim::counters.taskMemory.fetch_sub(1);
    std::free(static_cast<BlockHeader*>(pv) - 1);
}
