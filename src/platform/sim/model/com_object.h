// Reference counting for the simulated platform's objects. An object starts
// with one reference, is counted as live until its last Release, and deletes
// itself then. Derived classes answer QueryInterface with QueryFor().
#pragma once

#include <atomic>
#include <initializer_list>

#include "platform.h"
#include "sim/model/accounting.h"

namespace sim {

template <typename... Interfaces>
class ComObject : public Interfaces... {
public:
    ComObject() { counters.objects.fetch_add(1); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }

    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

protected:
    virtual ~ComObject() { counters.objects.fetch_sub(1); }

    struct InterfaceEntry {
        const IID& iid;
        void* pointer;  // the object seen as that interface
    };

    // Hands out the first entry whose IID matches, with a new reference.
    HRESULT QueryFor(REFIID riid, void** result, std::initializer_list<InterfaceEntry> entries) {
        if (result == nullptr) return E_POINTER;
        for (const InterfaceEntry& entry : entries) {
            if (riid == entry.iid) {
                *result = entry.pointer;
                AddRef();
                return S_OK;
            }
        }
        *result = nullptr;
        return E_NOINTERFACE;
    }

private:
    std::atomic<ULONG> references_{1};
};

}  // namespace sim
