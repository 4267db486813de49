// Security identifiers of the simulated Windows surface, laid out as Windows
// lays them out: revision, sub-authority count, the 48-bit identifier
// authority (big-endian), then the 32-bit sub-authorities. A PSID the surface
// hands out points at these bytes.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "platform.h"
#include "sim/model/process_token.h"

namespace sim {

struct Sid {
    BYTE revision = 1;
    BYTE subAuthorityCount = 0;
    std::array<BYTE, 6> identifierAuthority{};
    std::array<DWORD, 15> subAuthorities{};

    // The bytes a SID of this many sub-authorities takes.
    DWORD Size() const { return 8 + 4 * DWORD{subAuthorityCount}; }
};

// The same SID: the sub-authorities beyond the count do not matter.
bool operator==(const Sid& a, const Sid& b);

// S-1-5-..., a SID of the NT authority.
Sid NtSid(std::initializer_list<DWORD> subAuthorities);

// The SID of a process account.
Sid SidOf(const ProcessAccount& account);

// The SID at `bytes`, read no further than its own sub-authority count
// allows; none when the count exceeds what a SID can hold.
std::optional<Sid> ReadSid(const BYTE* bytes);

// Whether the SID at `given` is `known`.
bool SameSid(PSID given, const Sid& known);

// A SID as SDDL writes it: the two-letter alias of a well-known one (SY, BA,
// BU, AU, WD), else its "S-1-5-..." form.
std::wstring SddlOf(const Sid& sid);

// A well-known SID from its SDDL alias; none for any other text (the
// "S-1-5-..." form is not read here: no descriptor the system makes uses it).
std::optional<Sid> SidFromSddl(std::wstring_view text);

}  // namespace sim
