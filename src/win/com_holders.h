// Owning holders for what the firmware call borrows from COM besides
// interface references (those are com_ptr's): an OLE Automation string, a
// VARIANT, the COM apartment. Each gives its resource back when it is reset or
// goes out of scope, also while an exception passes through.
#pragma once

#include "platform.h"

class OwnedBstr {
public:
    OwnedBstr() = default;
    explicit OwnedBstr(const OLECHAR* text) : text_(SysAllocString(text)) {}
    ~OwnedBstr() { Reset(); }
    OwnedBstr(const OwnedBstr&) = delete;
    OwnedBstr& operator=(const OwnedBstr&) = delete;

    BSTR get() const { return text_; }
    explicit operator bool() const { return text_ != nullptr; }

    void Reset() {
        SysFreeString(text_);
        text_ = nullptr;
    }

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

// The single-threaded apartment the call enters; left again only if it was
// entered (S_OK or S_FALSE).
class ComApartment {
public:
    ComApartment() = default;
    ~ComApartment() {
        if (SUCCEEDED(status_)) CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    HRESULT Enter() {
        status_ = CoInitialize(nullptr);
        return status_;
    }

private:
    HRESULT status_ = E_FAIL;  // not entered
};
