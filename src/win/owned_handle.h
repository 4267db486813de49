// An owning kernel handle: closed with CloseHandle when its holder ends, on
// every path.
#pragma once

#include <memory>
#include <type_traits>

#include "platform.h"

struct HandleClose {
    void operator()(HANDLE handle) const { CloseHandle(handle); }
};
using OwnedHandle = std::unique_ptr<std::remove_pointer_t<HANDLE>, HandleClose>;
