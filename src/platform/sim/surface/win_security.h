// Process tokens, security identifiers and security descriptors of the
// simulated platform: what a process reads about the account it runs as, and
// the descriptors of the objects it names. Only the token information
// classes, well-known SIDs and descriptor parts the system uses are declared.
#pragma once

#include "sim/surface/win_types.h"

using PSID = void*;
using PHANDLE = HANDLE*;

enum TOKEN_INFORMATION_CLASS { TokenUser = 1, TokenElevation = 20 };
enum SID_NAME_USE { SidTypeUser = 1, SidTypeWellKnownGroup = 5 };
using PSID_NAME_USE = SID_NAME_USE*;
enum WELL_KNOWN_SID_TYPE { WinLocalSystemSid = 22, WinBuiltinAdministratorsSid = 26 };

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

// Security descriptors, in Windows' self-relative layout: an owner and a DACL
// of allow (A) and deny (D) entries, without flags or object types. SDDL is
// read and written in that subset: "O:" an owner, "D:" a DACL, "P" when it is
// protected, entries "(A;;RIGHTS;;;SID)" with RIGHTS in hex (0x1f0003) or
// GA, GR, GW, GX, and SIDs by their aliases SY, BA, BU, AU and WD (written
// back as S-1-... for others); anything else is refused with
// ERROR_INVALID_PARAMETER. Converted descriptors and texts are freed with
// LocalFree.
using SECURITY_INFORMATION = DWORD;
enum : DWORD { OWNER_SECURITY_INFORMATION = 0x1, DACL_SECURITY_INFORMATION = 0x4 };
enum : DWORD { SDDL_REVISION_1 = 1 };

BOOL ConvertStringSecurityDescriptorToSecurityDescriptorW(LPCWSTR StringSecurityDescriptor, DWORD StringSDRevision,
                                                          PSECURITY_DESCRIPTOR* SecurityDescriptor,
                                                          ULONG* SecurityDescriptorSize);
// A part asked for but absent: no "O:" for an owner; "D:NO_ACCESS_CONTROL"
// for a DACL.
BOOL ConvertSecurityDescriptorToStringSecurityDescriptorW(PSECURITY_DESCRIPTOR SecurityDescriptor,
                                                          DWORD RequestedStringSDRevision,
                                                          SECURITY_INFORMATION SecurityInformation,
                                                          LPWSTR* StringSecurityDescriptor,
                                                          ULONG* StringSecurityDescriptorLen);
// The parts asked for of an object's descriptor; with too small a buffer,
// FALSE, ERROR_INSUFFICIENT_BUFFER and the size needed.
BOOL GetKernelObjectSecurity(HANDLE Handle, SECURITY_INFORMATION RequestedInformation,
                             PSECURITY_DESCRIPTOR pSecurityDescriptor, DWORD nLength, DWORD* lpnLengthNeeded);
// The owner inside the descriptor, or null when it has none.
BOOL GetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR pSecurityDescriptor, PSID* pOwner, BOOL* lpbOwnerDefaulted);
