// A program on the simulated platform that keeps, on purpose, what each
// argument names: "object", "bstr", "hstring", "task-memory", "apartment",
// "handle", "event-source", or "mta" (membership of the multithreaded
// apartment, kept by design).
#include <cstring>

#include "platform.h"

int main(int argc, char** argv) {
    CO_MTA_USAGE_COOKIE cookie = nullptr;
    if (FAILED(CoIncrementMTAUsage(&cookie))) return 1;
    for (int i = 1; i < argc; ++i) {
        const char* kind = argv[i];
        if (std::strcmp(kind, "object") == 0) {
            IWbemLocator* locator = nullptr;
            if (FAILED(CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                                        reinterpret_cast<void**>(&locator))))
                return 1;
        } else if (std::strcmp(kind, "bstr") == 0) {
            if (SysAllocString(L"kept") == nullptr) return 1;
        } else if (std::strcmp(kind, "hstring") == 0) {
            HSTRING text = nullptr;
            if (FAILED(WindowsCreateString(L"kept", 4, &text))) return 1;
        } else if (std::strcmp(kind, "task-memory") == 0) {
            if (CoTaskMemAlloc(8) == nullptr) return 1;
        } else if (std::strcmp(kind, "apartment") == 0) {
            if (FAILED(CoInitialize(nullptr))) return 1;
        } else if (std::strcmp(kind, "handle") == 0) {
            if (CreateEventW(nullptr, TRUE, FALSE, nullptr) == nullptr) return 1;
        } else if (std::strcmp(kind, "event-source") == 0) {
            if (RegisterEventSourceW(nullptr, L"kept") == nullptr) return 1;
        } else if (std::strcmp(kind, "mta") != 0) {
            return 1;
        }
    }
    return 0;
}
