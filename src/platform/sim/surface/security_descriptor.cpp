// Security descriptors of the simulated Windows surface, and the functions
// that convert them from and to SDDL and read them off kernel objects.
#include "sim/surface/security_descriptor.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "sim/model/surface_services.h"
#include "sim/surface/kernel_objects.h"
#include "sim/surface/local_memory.h"

namespace sim {
namespace {

// The self-relative layout: a header of revision, control and four offsets
// (owner, group, SACL, DACL; 0 for none), the parts after it. An ACL is a
// header of revision, size and entry count, then its entries, each a header
// of type, flags and size, the access mask and the SID.
constexpr BYTE kDescriptorRevision = 1;
constexpr WORD kDaclPresent = 0x0004;
constexpr WORD kDaclProtected = 0x1000;
constexpr WORD kSelfRelative = 0x8000;
constexpr DWORD kHeaderSize = 20;
constexpr DWORD kOwnerOffsetAt = 4;
constexpr DWORD kDaclOffsetAt = 16;
constexpr BYTE kAclRevision = 2;
constexpr DWORD kAclHeaderSize = 8;
constexpr DWORD kEntryHeaderSize = 8;  // type, flags, size; the mask
constexpr BYTE kAllowed = 0;
constexpr BYTE kDenied = 1;

// The SDDL names of access masks, for a mask that is exactly one of them.
struct RightsName {
    const wchar_t* name;
    DWORD mask;
};
constexpr RightsName kRightsNames[] = {
    {L"GA", 0x10000000}, {L"GX", 0x20000000}, {L"GW", 0x40000000}, {L"GR", 0x80000000}};

template <typename T>
void Put(std::vector<BYTE>& bytes, size_t at, T value) {
    std::memcpy(bytes.data() + at, &value, sizeof value);
}

template <typename T>
T Get(const BYTE* bytes, size_t at) {
    T value;
    std::memcpy(&value, bytes + at, sizeof value);
    return value;
}

void Append(std::vector<BYTE>& bytes, const Sid& sid) {
    const auto* first = reinterpret_cast<const BYTE*>(&sid);
    bytes.insert(bytes.end(), first, first + sid.Size());
}

std::vector<BYTE> SelfRelative(const SecurityDescriptor& descriptor) {
    std::vector<BYTE> bytes(kHeaderSize, 0);
    bytes[0] = kDescriptorRevision;
    WORD control = kSelfRelative;
    if (descriptor.owner) {
        Put<DWORD>(bytes, kOwnerOffsetAt, static_cast<DWORD>(bytes.size()));
        Append(bytes, *descriptor.owner);
    }
    if (descriptor.daclPresent) {
        control |= kDaclPresent | (descriptor.daclProtected ? kDaclProtected : 0);
        const size_t acl = bytes.size();
        Put<DWORD>(bytes, kDaclOffsetAt, static_cast<DWORD>(acl));
        bytes.resize(acl + kAclHeaderSize, 0);
        bytes[acl] = kAclRevision;
        Put<WORD>(bytes, acl + 4, static_cast<WORD>(descriptor.dacl.size()));
        for (const AccessEntry& entry : descriptor.dacl) {
            const size_t at = bytes.size();
            bytes.resize(at + kEntryHeaderSize, 0);
            bytes[at] = entry.type;
            Put<WORD>(bytes, at + 2, static_cast<WORD>(kEntryHeaderSize + entry.sid.Size()));
            Put<DWORD>(bytes, at + 4, entry.mask);
            Append(bytes, entry.sid);
        }
        Put<WORD>(bytes, acl + 2, static_cast<WORD>(bytes.size() - acl));
    }
    Put<WORD>(bytes, 2, control);
    return bytes;
}

// The descriptor at `address`, which must be a self-relative one, as the
// surface hands them out; none when it is not one.
std::optional<SecurityDescriptor> ReadDescriptor(const void* address) {
    if (address == nullptr) return std::nullopt;
    const auto* bytes = static_cast<const BYTE*>(address);
    const auto control = Get<WORD>(bytes, 2);
    if (bytes[0] != kDescriptorRevision || (control & kSelfRelative) == 0) return std::nullopt;
    SecurityDescriptor descriptor;
    if (const auto owner = Get<DWORD>(bytes, kOwnerOffsetAt); owner != 0) {
        descriptor.owner = ReadSid(bytes + owner);
        if (!descriptor.owner) return std::nullopt;
    }
    descriptor.daclPresent = (control & kDaclPresent) != 0;
    descriptor.daclProtected = (control & kDaclProtected) != 0;
    if (!descriptor.daclPresent) return descriptor;
    const BYTE* entry = bytes + Get<DWORD>(bytes, kDaclOffsetAt) + kAclHeaderSize;
    for (WORD count = Get<WORD>(entry - kAclHeaderSize, 4); count > 0; --count) {
        const std::optional<Sid> sid = ReadSid(entry + kEntryHeaderSize);
        if ((entry[0] != kAllowed && entry[0] != kDenied) || !sid) return std::nullopt;
        descriptor.dacl.push_back({entry[0], Get<DWORD>(entry, 4), *sid});
        entry += Get<WORD>(entry, 2);
    }
    return descriptor;
}

// "0x1f0003", or "GA" for a mask that is one of the named ones.
std::wstring RightsText(DWORD mask) {
    for (const RightsName& known : kRightsNames)
        if (known.mask == mask) return known.name;
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%x", static_cast<unsigned>(mask));
    return text;
}

std::optional<DWORD> RightsOf(std::wstring_view text) {
    for (const RightsName& known : kRightsNames)
        if (text == known.name) return known.mask;
    if (text.size() < 3 || text.size() > 10 || !text.starts_with(L"0x")) return std::nullopt;
    DWORD mask = 0;
    for (const wchar_t c : text.substr(2)) {
        const wchar_t lower = c | 0x20;
        if (c >= L'0' && c <= L'9') mask = mask << 4 | static_cast<DWORD>(c - L'0');
        else if (lower >= L'a' && lower <= L'f') mask = mask << 4 | static_cast<DWORD>(lower - L'a' + 10);
        else return std::nullopt;
    }
    return mask;
}

// "A;;0x1f0003;;;SY": an allow or deny entry with no flags and no object
// types.
std::optional<AccessEntry> EntryOf(std::wstring_view text) {
    std::vector<std::wstring_view> fields;
    for (size_t semicolon; (semicolon = text.find(L';')) != std::wstring_view::npos; text.remove_prefix(semicolon + 1))
        fields.push_back(text.substr(0, semicolon));
    fields.push_back(text);
    if (fields.size() != 6 || !fields[1].empty() || !fields[3].empty() || !fields[4].empty()) return std::nullopt;
    const std::optional<DWORD> mask = RightsOf(fields[2]);
    const std::optional<Sid> sid = SidFromSddl(fields[5]);
    if ((fields[0] != L"A" && fields[0] != L"D") || !mask || !sid) return std::nullopt;
    return AccessEntry{fields[0] == L"A" ? kAllowed : kDenied, *mask, *sid};
}

// "O:owner" and "D:[P](entry)(entry)...", each optional, in that order.
std::optional<SecurityDescriptor> ParseSddl(std::wstring_view text) {
    SecurityDescriptor descriptor;
    if (text.starts_with(L"O:")) {
        const size_t dacl = text.find(L"D:");
        descriptor.owner = SidFromSddl(text.substr(2, dacl == std::wstring_view::npos ? dacl : dacl - 2));
        if (!descriptor.owner) return std::nullopt;
        text = dacl == std::wstring_view::npos ? std::wstring_view() : text.substr(dacl);
    }
    if (text.empty()) return descriptor;
    if (!text.starts_with(L"D:")) return std::nullopt;
    text.remove_prefix(2);
    descriptor.daclPresent = true;
    if (text.starts_with(L"P")) {
        descriptor.daclProtected = true;
        text.remove_prefix(1);
    }
    while (!text.empty()) {
        const size_t close = text.find(L')');
        if (text.front() != L'(' || close == std::wstring_view::npos) return std::nullopt;
        const std::optional<AccessEntry> entry = EntryOf(text.substr(1, close - 1));
        if (!entry) return std::nullopt;
        descriptor.dacl.push_back(*entry);
        text.remove_prefix(close + 1);
    }
    return descriptor;
}

std::wstring TextOf(const SecurityDescriptor& descriptor, SECURITY_INFORMATION parts) {
    std::wstring text;
    if ((parts & OWNER_SECURITY_INFORMATION) != 0 && descriptor.owner) text += L"O:" + SddlOf(*descriptor.owner);
    if ((parts & DACL_SECURITY_INFORMATION) == 0) return text;
    if (!descriptor.daclPresent) return text + L"D:NO_ACCESS_CONTROL";
    text += descriptor.daclProtected ? L"D:P" : L"D:";
    for (const AccessEntry& entry : descriptor.dacl)
        text += std::wstring(entry.type == kAllowed ? L"(A;;" : L"(D;;") + RightsText(entry.mask) + L";;;" +
                SddlOf(entry.sid) + L")";
    return text;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// Copies bytes into a block of local memory that the caller frees with
// LocalFree.
template <typename T>
T* LocalCopy(const T* first, size_t count) {
    auto* copy = static_cast<T*>(LocalAllocate(count * sizeof(T)));
    if (copy != nullptr) std::memcpy(copy, first, count * sizeof(T));
    return copy;
}

}  // namespace

std::optional<SecurityDescriptor> DescriptorForNewObject(const SECURITY_ATTRIBUTES* attributes, DWORD& error) {
    const ProcessAccount& account = AccountOf(ProcessTokenNow());
    const Sid accountSid = SidOf(account);
    if (attributes == nullptr || attributes->lpSecurityDescriptor == nullptr) {
        SecurityDescriptor byDefault;
        byDefault.owner = accountSid;
        return byDefault;
    }
    std::optional<SecurityDescriptor> descriptor = ReadDescriptor(attributes->lpSecurityDescriptor);
    if (!descriptor) {
        error = ERROR_INVALID_PARAMETER;
        return std::nullopt;
    }
    if (!descriptor->owner) descriptor->owner = accountSid;
    const bool ownable = *descriptor->owner == accountSid || (account.elevated && *descriptor->owner == NtSid({32, 544}));
    if (!ownable) {
        error = ERROR_INVALID_OWNER;
        return std::nullopt;
    }
    return descriptor;
}

}  // namespace sim

BOOL ConvertStringSecurityDescriptorToSecurityDescriptorW(LPCWSTR StringSecurityDescriptor, DWORD StringSDRevision,
                                                          PSECURITY_DESCRIPTOR* SecurityDescriptor,
                                                          ULONG* SecurityDescriptorSize) {
    if (StringSecurityDescriptor == nullptr || StringSDRevision != SDDL_REVISION_1 || SecurityDescriptor == nullptr)
        return sim::Fail(ERROR_INVALID_PARAMETER);
    const std::optional<sim::SecurityDescriptor> descriptor = sim::ParseSddl(StringSecurityDescriptor);
    if (!descriptor) return sim::Fail(ERROR_INVALID_PARAMETER);
    const std::vector<BYTE> bytes = sim::SelfRelative(*descriptor);
    *SecurityDescriptor = sim::LocalCopy(bytes.data(), bytes.size());
    if (*SecurityDescriptor == nullptr) return sim::Fail(ERROR_NOT_ENOUGH_MEMORY);
    if (SecurityDescriptorSize != nullptr) *SecurityDescriptorSize = static_cast<ULONG>(bytes.size());
    return TRUE;
}

BOOL ConvertSecurityDescriptorToStringSecurityDescriptorW(PSECURITY_DESCRIPTOR SecurityDescriptor,
                                                          DWORD RequestedStringSDRevision,
                                                          SECURITY_INFORMATION SecurityInformation,
                                                          LPWSTR* StringSecurityDescriptor,
                                                          ULONG* StringSecurityDescriptorLen) {
    const std::optional<sim::SecurityDescriptor> descriptor = sim::ReadDescriptor(SecurityDescriptor);
    if (!descriptor || RequestedStringSDRevision != SDDL_REVISION_1 || StringSecurityDescriptor == nullptr)
        return sim::Fail(ERROR_INVALID_PARAMETER);
    const std::wstring text = sim::TextOf(*descriptor, SecurityInformation);
    *StringSecurityDescriptor = sim::LocalCopy(text.c_str(), text.size() + 1);
    if (*StringSecurityDescriptor == nullptr) return sim::Fail(ERROR_NOT_ENOUGH_MEMORY);
    if (StringSecurityDescriptorLen != nullptr) *StringSecurityDescriptorLen = static_cast<ULONG>(text.size() + 1);
    return TRUE;
}

BOOL GetKernelObjectSecurity(HANDLE Handle, SECURITY_INFORMATION RequestedInformation,
                             PSECURITY_DESCRIPTOR pSecurityDescriptor, DWORD nLength, DWORD* lpnLengthNeeded) {
    const std::shared_ptr<sim::KernelObject> object = sim::ObjectOf(Handle);
    if (object == nullptr || lpnLengthNeeded == nullptr) return sim::Fail(ERROR_INVALID_HANDLE);
    sim::SecurityDescriptor requested;
    if ((RequestedInformation & OWNER_SECURITY_INFORMATION) != 0) requested.owner = object->security.owner;
    if ((RequestedInformation & DACL_SECURITY_INFORMATION) != 0) {
        requested.daclPresent = object->security.daclPresent;
        requested.daclProtected = object->security.daclProtected;
        requested.dacl = object->security.dacl;
    }
    const std::vector<BYTE> bytes = sim::SelfRelative(requested);
    *lpnLengthNeeded = static_cast<DWORD>(bytes.size());
    if (pSecurityDescriptor == nullptr || nLength < bytes.size()) return sim::Fail(ERROR_INSUFFICIENT_BUFFER);
    std::memcpy(pSecurityDescriptor, bytes.data(), bytes.size());
    return TRUE;
}

BOOL GetSecurityDescriptorOwner(PSECURITY_DESCRIPTOR pSecurityDescriptor, PSID* pOwner, BOOL* lpbOwnerDefaulted) {
    if (!sim::ReadDescriptor(pSecurityDescriptor) || pOwner == nullptr || lpbOwnerDefaulted == nullptr)
        return sim::Fail(ERROR_INVALID_PARAMETER);
    const DWORD owner = sim::Get<DWORD>(static_cast<const BYTE*>(pSecurityDescriptor), sim::kOwnerOffsetAt);
    *pOwner = owner == 0 ? nullptr : static_cast<BYTE*>(pSecurityDescriptor) + owner;
    *lpbOwnerDefaulted = FALSE;
    return TRUE;
}
