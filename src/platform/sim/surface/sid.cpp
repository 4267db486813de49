#include "sim/surface/sid.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace sim {
namespace {

static_assert(offsetof(Sid, subAuthorities) == 8, "a Sid's bytes are laid out as Windows lays out a SID");

constexpr BYTE kWorldAuthority = 1;
constexpr BYTE kNtAuthority = 5;

Sid SidOf(BYTE authority, std::initializer_list<DWORD> subAuthorities) {
    Sid sid;
    sid.identifierAuthority[5] = authority;
    sid.subAuthorityCount = static_cast<BYTE>(subAuthorities.size());
    std::copy(subAuthorities.begin(), subAuthorities.end(), sid.subAuthorities.begin());
    return sid;
}

struct Alias {
    const wchar_t* name;
    Sid sid;
};

const Alias kAliases[] = {
    {L"SY", SidOf(kNtAuthority, {18})},       // LocalSystem
    {L"BA", SidOf(kNtAuthority, {32, 544})},  // BUILTIN\Administrators
    {L"BU", SidOf(kNtAuthority, {32, 545})},  // BUILTIN\Users
    {L"AU", SidOf(kNtAuthority, {11})},       // Authenticated Users
    {L"WD", SidOf(kWorldAuthority, {0})},     // Everyone
};

}  // namespace

bool operator==(const Sid& a, const Sid& b) {
    return a.revision == b.revision && a.subAuthorityCount == b.subAuthorityCount &&
           a.identifierAuthority == b.identifierAuthority &&
           std::equal(a.subAuthorities.begin(), a.subAuthorities.begin() + a.subAuthorityCount,
                      b.subAuthorities.begin());
}

Sid NtSid(std::initializer_list<DWORD> subAuthorities) { return SidOf(kNtAuthority, subAuthorities); }

Sid SidOf(const ProcessAccount& account) {
    Sid sid = NtSid({});
    sid.subAuthorityCount = account.subAuthorityCount;
    std::copy_n(account.subAuthorities.begin(), account.subAuthorityCount, sid.subAuthorities.begin());
    return sid;
}

std::optional<Sid> ReadSid(const BYTE* bytes) {
    Sid sid;
    sid.revision = bytes[0];
    sid.subAuthorityCount = bytes[1];
    if (sid.subAuthorityCount > sid.subAuthorities.size()) return std::nullopt;
    std::memcpy(sid.identifierAuthority.data(), bytes + 2, sid.identifierAuthority.size());
    std::memcpy(sid.subAuthorities.data(), bytes + 8, 4 * size_t{sid.subAuthorityCount});
    return sid;
}

bool SameSid(PSID given, const Sid& known) {
    if (given == nullptr) return false;
    const std::optional<Sid> read = ReadSid(static_cast<const BYTE*>(given));
    return read && *read == known;
}

std::wstring SddlOf(const Sid& sid) {
    const auto alias = std::find_if(std::begin(kAliases), std::end(kAliases),
                                    [&sid](const Alias& known) { return known.sid == sid; });
    if (alias != std::end(kAliases)) return alias->name;
    uint64_t authority = 0;
    for (const BYTE part : sid.identifierAuthority) authority = authority << 8 | part;
    std::wstring text = L"S-" + std::to_wstring(sid.revision) + L"-" + std::to_wstring(authority);
    for (BYTE i = 0; i < sid.subAuthorityCount; ++i) text += L"-" + std::to_wstring(sid.subAuthorities[i]);
    return text;
}

std::optional<Sid> SidFromSddl(std::wstring_view text) {
    const auto alias = std::find_if(std::begin(kAliases), std::end(kAliases),
                                    [text](const Alias& known) { return text == known.name; });
    if (alias == std::end(kAliases)) return std::nullopt;
    return alias->sid;
}

}  // namespace sim
