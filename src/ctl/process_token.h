// Who this process runs as: the account of its token, whether the token is
// elevated, and whether the account is LocalSystem.
#pragma once

#include <string>

struct ProcessToken {
    std::string account;  // DOMAIN\name, UTF-8
    bool elevated = false;
    bool localSystem = false;
};

// Reads the process's own token. Raises hresult_error with the Win32 error
// of the first call that fails.
ProcessToken ReadProcessToken();
