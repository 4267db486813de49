// Owning holders for what a COM call borrows besides interface references
// (those are com_ptr's): an OLE Automation string, a VARIANT and a Windows
// Runtime string. Each gives
// its resource back when it is reset or goes out of scope, also while an
// exception passes through.
#pragma once

#include <string_view>
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

class OwnedHstring {
public:
    OwnedHstring() = default;
    ~OwnedHstring() { WindowsDeleteString(text_); }
    OwnedHstring(const OwnedHstring&) = delete;
    OwnedHstring& operator=(const OwnedHstring&) = delete;

    // The slot for a call that returns a new string through an out
    // parameter; only an empty holder hands it out.
    HSTRING* put() { return &text_; }

    // The characters, without a terminator; the null HSTRING is the empty
    // string.
    std::wstring_view view() const {
        UINT32 length = 0;
        const wchar_t* text = WindowsGetStringRawBuffer(text_, &length);
        return {text, length};
    }

private:
    HSTRING text_ = nullptr;
};
