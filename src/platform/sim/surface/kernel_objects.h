// The simulated kernel's objects as the surface's files make them: what a
// handle refers to, and the one table of handles (kernel_objects.cpp), which
// counts them and which CloseHandle empties.
#pragma once

#include <memory>

#include "platform.h"
#include "sim/surface/security_descriptor.h"

namespace sim {

class KernelObject {
public:
    virtual ~KernelObject() = default;

    // What GetKernelObjectSecurity reads: for an event or a mutex, what it
    // was made with; for others, no owner and no DACL.
    SecurityDescriptor security;
};

// An object a thread can wait on. Its state changes, and is read, under the
// kernel's one lock.
class WaitableObject : public KernelObject {
public:
    // Whether a wait on the object is satisfied now.
    virtual bool Signalled() const = 0;

    // What a wait the object satisfied does to it; what the wait returns.
    virtual DWORD Take() { return WAIT_OBJECT_0; }
};

// A new handle to object; null, with the last error set, when none can be
// made.
HANDLE NewHandle(std::shared_ptr<KernelObject> object);

// The object a handle refers to; null for a handle that is not open.
std::shared_ptr<KernelObject> ObjectOf(HANDLE handle);

}  // namespace sim
