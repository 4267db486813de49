// An owning reference to a reference-counted platform object. It releases its
// object when it ends, whether its holder returns or a raised failure passes
// through, so no path can leak a platform object. The modem side holds its
// Windows Runtime objects in it, the firmware call its WMI objects.
#pragma once

#include <utility>

#include "platform.h"

template <typename T>
class com_ptr {
public:
    com_ptr() = default;
    com_ptr(const com_ptr& other) : object_(other.object_) { AddRefHeld(); }
    com_ptr(com_ptr&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    ~com_ptr() { reset(); }

    com_ptr& operator=(com_ptr other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }

    // Takes over a reference the caller already owns.
    static com_ptr attach(T* owned) {
        com_ptr result;
        result.object_ = owned;
        return result;
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    T& operator*() const { return *object_; }
    explicit operator bool() const { return object_ != nullptr; }

    // Releases what is held and hands out the slot for a call that returns a
    // new reference through an out parameter.
    T** put() {
        reset();
        return &object_;
    }

    void reset() {
        if (T* held = std::exchange(object_, nullptr)) held->Release();
    }

private:
    void AddRefHeld() {
        if (object_ != nullptr) object_->AddRef();
    }

    T* object_ = nullptr;
};
