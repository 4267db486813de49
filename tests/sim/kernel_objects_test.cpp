// The simulated kernel's named objects and their security descriptors, as
// Windows documents them: what the program's second-instance check and the
// companion's stop rely on.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "platform.h"

namespace {

TEST(KernelObjects, NamesAndMutexes) {
    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, L"Global\\test-event");
    EXPECT_EQ(GetLastError(), 0u);
    const HANDLE again = CreateEventW(nullptr, FALSE, TRUE, L"Global\\test-event");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
    SetEvent(again);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0) << "the same event, manual-reset as first made";
    EXPECT_EQ(CreateMutexW(nullptr, FALSE, L"Global\\test-event"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(OpenMutexW(SYNCHRONIZE, FALSE, L"Global\\no-such-mutex"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));

    // A thread takes the mutex and ends holding it: abandoned.
    HANDLE mutex = nullptr;
    std::thread([&mutex] { mutex = CreateMutexW(nullptr, TRUE, L"Global\\test-mutex"); }).join();
    EXPECT_FALSE(ReleaseMutex(mutex));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_OWNER));
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_ABANDONED);
    EXPECT_EQ(WaitForSingleObject(mutex, 0), WAIT_OBJECT_0) << "held twice now, by this thread";
    EXPECT_TRUE(ReleaseMutex(mutex) && ReleaseMutex(mutex));
    for (const HANDLE handle : {event, again, mutex}) CloseHandle(handle);
    EXPECT_EQ(OpenEventW(SYNCHRONIZE, FALSE, L"Global\\test-event"), nullptr) << "a name goes with its last handle";
}

// An object keeps the descriptor it was made with and reads back as the SDDL
// it came from; a descriptor is laid out self-relative, as Windows documents
// the layout (here: header, owner, DACL); forms outside the subset are
// refused rather than misread.
TEST(KernelObjects, SecurityDescriptors) {
    const wchar_t* const roundTrips[] = {L"O:BAD:P(A;;0x1f0003;;;SY)(A;;0x1f0003;;;BA)",
                                         L"D:(D;;GW;;;BU)(A;;GA;;;WD)", L"O:BA"};
    for (const wchar_t* sddl : roundTrips) {
        SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, FALSE};
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1,
                                                                         &attributes.lpSecurityDescriptor, nullptr));
        const HANDLE event = CreateEventW(&attributes, TRUE, FALSE, nullptr);
        LocalFree(attributes.lpSecurityDescriptor);
        alignas(8) BYTE descriptor[256];
        DWORD needed = 0;
        LPWSTR text = nullptr;
        ASSERT_TRUE(GetKernelObjectSecurity(event, DACL_SECURITY_INFORMATION, descriptor, sizeof descriptor, &needed));
        ASSERT_TRUE(ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                                         DACL_SECURITY_INFORMATION, &text, nullptr));
        const std::wstring dacl(sddl + (std::wcsncmp(sddl, L"O:BA", 4) == 0 ? 4 : 0));
        EXPECT_EQ(std::wstring(text), dacl.empty() ? L"D:NO_ACCESS_CONTROL" : dacl);
        LocalFree(text);
        CloseHandle(event);
    }

    // O:BAD:(A;;0x1f0003;;;SY): the header (control: DACL present, self-relative;
    // owner at 20, DACL at 36), BA, then the ACL of one entry for SY.
    const BYTE expected[] = {1, 0, 0x04, 0x80, 20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 36, 0, 0, 0,
                             1, 2, 0, 0, 0, 0, 0, 5, 32, 0, 0, 0, 0x20, 2, 0, 0,
                             2, 0, 28, 0, 1, 0, 0, 0, 0, 0, 20, 0, 3, 0, 0x1f, 0, 1, 1, 0, 0, 0, 0, 0, 5, 18, 0, 0, 0};
    PSECURITY_DESCRIPTOR made = nullptr;
    ULONG size = 0;
    ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorW(L"O:BAD:(A;;0x1f0003;;;SY)", SDDL_REVISION_1,
                                                                     &made, &size));
    ASSERT_EQ(size, sizeof expected);
    EXPECT_EQ(std::memcmp(made, expected, size), 0);
    LocalFree(made);

    for (const wchar_t* refused : {L"D:(A;;0x1f0003;;;XX)", L"D:(A;CI;GA;;;SY)", L"G:BA", L"D:AI(A;;GA;;;SY)"}) {
        EXPECT_FALSE(ConvertStringSecurityDescriptorToSecurityDescriptorW(refused, SDDL_REVISION_1, &made, nullptr));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
}

}  // namespace
