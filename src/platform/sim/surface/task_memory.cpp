// COM task memory and local memory of the simulated Windows surface, counted
// so tests can see that every block handed out was freed.
#include <atomic>
#include <cstdlib>

#include "platform.h"
#include "sim/model/surface_services.h"
#include "sim/surface/local_memory.h"

namespace {

// Each block carries its own header so that freeing needs no lookup.
struct alignas(std::max_align_t) BlockHeader {
    SIZE_T size;
};

void* Allocate(SIZE_T size, std::atomic<long>& count) {
    auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
    if (header == nullptr) return nullptr;
    header->size = size;
    count.fetch_add(1);
    return header + 1;
}

void Free(void* block, std::atomic<long>& count) {
    if (block == nullptr) return;
    count.fetch_sub(1);
    std::free(static_cast<BlockHeader*>(block) - 1);
}

}  // namespace

LPVOID CoTaskMemAlloc(SIZE_T cb) {
    if (FAILED(sim::TakeCallFault("CoTaskMemAlloc"))) return nullptr;
    return Allocate(cb, sim::counters.taskMemory);
}

void CoTaskMemFree(LPVOID pv) { Free(pv, sim::counters.taskMemory); }

void* sim::LocalAllocate(size_t size) { return Allocate(size, counters.localMemory); }

// Always null: nothing here can fail to free.
HLOCAL LocalFree(HLOCAL hMem) {
    Free(hMem, sim::counters.localMemory);
    return nullptr;
}
