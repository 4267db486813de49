// Who a process runs as on the simulated laptop ("token admin|user|system"):
// the account of its token, and whether the token is elevated.
#pragma once

#include <array>
#include <cstdint>

namespace sim {

enum class TokenKind : uint32_t {
    Administrator,  // an administrator in an elevated prompt: the default
    StandardUser,   // a user without administrator rights, not elevated
    LocalSystem,    // NT AUTHORITY\SYSTEM, as the scheduled task runs the program
};

struct ProcessAccount {
    const wchar_t* domain;
    const wchar_t* name;
    // The SID: S-1-5 (the NT authority), then these sub-authorities.
    uint8_t subAuthorityCount;
    std::array<uint32_t, 5> subAuthorities;
    bool elevated;
};

// The accounts, in the order of TokenKind.
inline constexpr ProcessAccount kProcessAccounts[] = {
    {L"LAPTOP", L"Administrator", 5, {21, 3623811015u, 3361044348u, 30300820u, 500}, true},
    {L"LAPTOP", L"user", 5, {21, 3623811015u, 3361044348u, 30300820u, 1001}, false},
    {L"NT AUTHORITY", L"SYSTEM", 1, {18}, true},
};

inline const ProcessAccount& AccountOf(TokenKind kind) { return kProcessAccounts[static_cast<uint32_t>(kind)]; }

}  // namespace sim
