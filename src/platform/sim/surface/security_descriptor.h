// Security descriptors of the simulated Windows surface: an owner and a DACL
// of allow and deny entries, read from SDDL and written back to it, and handed
// out in Windows' self-relative layout. Only the parts the system uses are
// modelled: no group, no SACL, no inheritance; a named object keeps the
// descriptor it was made with, and nothing checks access against it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform.h"
#include "sim/surface/sid.h"

namespace sim {

struct AccessEntry {
    BYTE type;  // ACCESS_ALLOWED_ACE_TYPE (0) or ACCESS_DENIED_ACE_TYPE (1)
    DWORD mask;
    Sid sid;
};

struct SecurityDescriptor {
    std::optional<Sid> owner;
    bool daclPresent = false;  // absent: a NULL DACL, which grants all access
    bool daclProtected = false;
    std::vector<AccessEntry> dacl;
};

// What a new object is made with: the attributes' descriptor, or without one
// the process's account as owner and no DACL. Its owner must be the account,
// or Administrators when the token is elevated (as an elevated administrator's
// and LocalSystem's are); otherwise ERROR_INVALID_OWNER, and
// ERROR_INVALID_PARAMETER for a descriptor that is not one.
std::optional<SecurityDescriptor> DescriptorForNewObject(const SECURITY_ATTRIBUTES* attributes, DWORD& error);

}  // namespace sim
