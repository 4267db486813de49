// Process tokens and security identifiers of the simulated platform: what a
// process reads about the account it runs as. Only the token information
// classes and well-known SIDs the system asks about are declared.
#pragma once

#include "sim/surface/win_types.h"

using PSID = void*;
using PHANDLE = HANDLE*;

enum TOKEN_INFORMATION_CLASS { TokenUser = 1, TokenElevation = 20 };
enum SID_NAME_USE { SidTypeUser = 1, SidTypeWellKnownGroup = 5 };
using PSID_NAME_USE = SID_NAME_USE*;
enum WELL_KNOWN_SID_TYPE { WinLocalSystemSid = 22 };

struct SID_AND_ATTRIBUTES {
    PSID Sid;
    DWORD Attributes;
};
struct TOKEN_USER {
    SID_AND_ATTRIBUTES User;
};
struct TOKEN_ELEVATION {
    DWORD TokenIsElevated;
};

enum : DWORD { TOKEN_QUERY = 0x0008 };
#define SECURITY_MAX_SID_SIZE 68

// The process's pseudo handle, which needs no closing.
HANDLE GetCurrentProcess();
BOOL OpenProcessToken(HANDLE ProcessHandle, DWORD DesiredAccess, PHANDLE TokenHandle);
// With too small a buffer: FALSE, ERROR_INSUFFICIENT_BUFFER and the size
// needed in ReturnLength. A TOKEN_USER's SID lies in the same buffer.
BOOL GetTokenInformation(HANDLE TokenHandle, TOKEN_INFORMATION_CLASS TokenInformationClass, LPVOID TokenInformation,
                         DWORD TokenInformationLength, DWORD* ReturnLength);
// Sizes count characters; with a buffer too small for a name and its
// terminator: FALSE, ERROR_INSUFFICIENT_BUFFER and the sizes needed.
BOOL LookupAccountSidW(LPCWSTR lpSystemName, PSID Sid, LPWSTR Name, DWORD* cchName, LPWSTR ReferencedDomainName,
                       DWORD* cchReferencedDomainName, PSID_NAME_USE peUse);
BOOL IsWellKnownSid(PSID pSid, WELL_KNOWN_SID_TYPE WellKnownSidType);
