// Process tokens of the simulated Windows surface: the process runs as the
// account the scenario gives it ("token"), read when the token is opened. A
// token is a kernel object: its handle is counted until CloseHandle.
#include <algorithm>
#include <cstring>
#include <cwchar>
#include <memory>
#include <new>

#include "platform.h"
#include "sim/model/surface_services.h"
#include "sim/surface/kernel_objects.h"
#include "sim/surface/sid.h"

namespace {

struct Token final : sim::KernelObject {
    explicit Token(sim::TokenKind account) : kind(account) {}
    const sim::TokenKind kind;
};

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// Copies text and its terminator into a buffer of *size characters, or says
// how many are needed.
bool CopyName(const wchar_t* text, LPWSTR buffer, DWORD* size) {
    const DWORD needed = static_cast<DWORD>(std::wcslen(text)) + 1;
    if (buffer == nullptr || *size < needed) {
        *size = needed;
        return false;
    }
    std::wmemcpy(buffer, text, needed);
    *size = needed - 1;
    return true;
}

}  // namespace

HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }

BOOL OpenProcessToken(HANDLE ProcessHandle, DWORD, PHANDLE TokenHandle) {
    if (ProcessHandle != GetCurrentProcess() || TokenHandle == nullptr) return Fail(ERROR_INVALID_PARAMETER);
    try {
        *TokenHandle = sim::NewHandle(std::make_shared<Token>(sim::ProcessTokenNow()));
    } catch (const std::bad_alloc&) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
    return *TokenHandle != nullptr;
}

BOOL GetTokenInformation(HANDLE TokenHandle, TOKEN_INFORMATION_CLASS TokenInformationClass, LPVOID TokenInformation,
                         DWORD TokenInformationLength, DWORD* ReturnLength) {
    const std::shared_ptr<sim::KernelObject> object = sim::ObjectOf(TokenHandle);
    const auto* const token = dynamic_cast<const Token*>(object.get());
    if (token == nullptr || ReturnLength == nullptr) return Fail(ERROR_INVALID_HANDLE);
    const sim::ProcessAccount& account = sim::AccountOf(token->kind);
    if (TokenInformationClass == TokenElevation) {
        *ReturnLength = sizeof(TOKEN_ELEVATION);
        if (TokenInformation == nullptr || TokenInformationLength < sizeof(TOKEN_ELEVATION))
            return Fail(ERROR_INSUFFICIENT_BUFFER);
        static_cast<TOKEN_ELEVATION*>(TokenInformation)->TokenIsElevated = account.elevated ? 1 : 0;
        return TRUE;
    }
    if (TokenInformationClass != TokenUser) return Fail(ERROR_INVALID_PARAMETER);
    const sim::Sid sid = sim::SidOf(account);
    *ReturnLength = sizeof(TOKEN_USER) + sid.Size();
    if (TokenInformation == nullptr || TokenInformationLength < *ReturnLength) return Fail(ERROR_INSUFFICIENT_BUFFER);
    auto* user = static_cast<TOKEN_USER*>(TokenInformation);
    BYTE* sidBytes = static_cast<BYTE*>(TokenInformation) + sizeof(TOKEN_USER);
    std::memcpy(sidBytes, &sid, sid.Size());
    *user = TOKEN_USER{{sidBytes, 0}};
    return TRUE;
}

BOOL LookupAccountSidW(LPCWSTR lpSystemName, PSID Sid, LPWSTR Name, DWORD* cchName, LPWSTR ReferencedDomainName,
                       DWORD* cchReferencedDomainName, PSID_NAME_USE peUse) {
    if (lpSystemName != nullptr || Sid == nullptr || cchName == nullptr || cchReferencedDomainName == nullptr ||
        peUse == nullptr)
        return Fail(ERROR_INVALID_PARAMETER);
    const auto account = std::find_if(std::begin(sim::kProcessAccounts), std::end(sim::kProcessAccounts),
                                      [Sid](const sim::ProcessAccount& known) { return sim::SameSid(Sid, sim::SidOf(known)); });
    if (account == std::end(sim::kProcessAccounts)) return Fail(ERROR_NONE_MAPPED);
    const bool nameCopied = CopyName(account->name, Name, cchName);
    const bool domainCopied = CopyName(account->domain, ReferencedDomainName, cchReferencedDomainName);
    if (!nameCopied || !domainCopied) return Fail(ERROR_INSUFFICIENT_BUFFER);
    *peUse = account->subAuthorityCount == 1 ? SidTypeWellKnownGroup : SidTypeUser;
    return TRUE;
}

BOOL IsWellKnownSid(PSID pSid, WELL_KNOWN_SID_TYPE WellKnownSidType) {
    switch (WellKnownSidType) {
    case WinLocalSystemSid: return sim::SameSid(pSid, sim::NtSid({18}));
    case WinBuiltinAdministratorsSid: return sim::SameSid(pSid, sim::NtSid({32, 544}));
    }
    return FALSE;
}
