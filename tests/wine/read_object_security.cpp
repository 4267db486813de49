// For tests under Wine only: prints, for each named object on the command
// line ("event:NAME" or "mutex:NAME"), its owner and DACL as SDDL, one line
// each, read off the object as the system keeps it
// (GetKernelObjectSecurity, then ConvertSecurityDescriptorToStringSecurity-
// DescriptorW). An object that cannot be opened or read prints its Win32
// error instead, and the exit status is 1.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform.h"

namespace {

constexpr SECURITY_INFORMATION kParts = OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;

HANDLE Open(const std::string& kind, const std::wstring& name) {
    if (kind == "event") return OpenEventW(READ_CONTROL, FALSE, name.c_str());
    if (kind == "mutex") return OpenMutexW(READ_CONTROL, FALSE, name.c_str());
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
}

// The object's owner and DACL as SDDL; empty, with the last error, when
// they cannot be read.
std::string Sddl(HANDLE object) {
    alignas(8) BYTE descriptor[1024];
    DWORD needed = 0;
    LPWSTR text = nullptr;
    if (!GetKernelObjectSecurity(object, kParts, descriptor, sizeof descriptor, &needed) ||
        !ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, kParts, &text, nullptr))
        return {};
    std::string sddl;
    for (const wchar_t* c = text; *c != L'\0'; ++c) sddl += static_cast<char>(*c);  // SDDL is ASCII
    LocalFree(text);
    return sddl;
}

}  // namespace

int main(int argc, char* argv[]) {
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const size_t colon = argument.find(':');
        const std::string name = colon == std::string::npos ? std::string() : argument.substr(colon + 1);
        const HANDLE object = Open(argument.substr(0, colon), std::wstring(name.begin(), name.end()));
        const std::string sddl = object != nullptr ? Sddl(object) : std::string();
        if (sddl.empty()) {
            printf("error %u\n", static_cast<unsigned>(GetLastError()));
            status = 1;
        } else {
            printf("%s\n", sddl.c_str());
        }
        if (object != nullptr) CloseHandle(object);
    }
    return status;
}
