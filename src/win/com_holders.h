// Owning holders for what a COM call borrows besides interface references
// (those are com_ptr's): an OLE Automation string and a VARIANT. Each gives
// its resource back when it is reset or goes out of scope, also while an
// exception passes through.
#pragma once

#include <utility>

#include "platform.h"

class OwnedBstr {
public:
    OwnedBstr() = default;
    explicit OwnedBstr(const OLECHAR* text) : text_(SysAllocString(text)) {}
    ~OwnedBstr() { reset(); }
    OwnedBstr(const OwnedBstr&) = delete;
    OwnedBstr& operator=(const OwnedBstr&) = delete;

    BSTR get() const { return text_; }
    explicit operator bool() const { return text_ != nullptr; }

    // Frees what is held and hands out the slot for a call that returns a
    // new string through an out parameter.
    BSTR* put() {
        reset();
        return &text_;
    }

    void reset() { SysFreeString(std::exchange(text_, nullptr)); }

private:
    BSTR text_ = nullptr;
};

class OwnedVariant {
public:
    OwnedVariant() { VariantInit(&variant_); }
    ~OwnedVariant() { VariantClear(&variant_); }
    OwnedVariant(const OwnedVariant&) = delete;
    OwnedVariant& operator=(const OwnedVariant&) = delete;

    VARIANT* get() { return &variant_; }
    const VARIANT& operator*() const { return variant_; }
    void Clear() { VariantClear(&variant_); }

private:
    VARIANT variant_;
};
