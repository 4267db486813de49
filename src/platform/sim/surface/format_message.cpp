// FormatMessageW of the simulated Windows surface: the system's message texts
// for the codes the simulated platform raises, with their line break at the
// end as on Windows.
#include <cwchar>
#include <utility>

#include "platform.h"

namespace {

constexpr std::pair<uint32_t, const wchar_t*> kMessages[] = {
    {0x80004001u, L"Not implemented\r\n"},
    {0x80004002u, L"No such interface supported\r\n"},
    {0x80004003u, L"Invalid pointer\r\n"},
    {0x80004004u, L"Operation aborted\r\n"},
    {0x80004005u, L"Unspecified error\r\n"},
    {0x8000000Bu, L"The operation attempted to access data outside the valid range\r\n"},
    {0x8000000Cu, L"A concurrent or interleaved operation changed the state of the object, invalidating this operation.\r\n"},
    {0x8000000Eu, L"A method was called at an unexpected time.\r\n"},
    {0x8000FFFFu, L"Catastrophic failure\r\n"},
    {0x80010106u, L"Cannot change thread mode after it is set.\r\n"},
    {0x80010108u, L"The object invoked has disconnected from its clients.\r\n"},
    {0x8001010Eu, L"The application called an interface that was marshalled for a different thread.\r\n"},
    {0x80010119u, L"Security must be initialized before any interfaces are marshalled or unmarshalled. It cannot be changed once initialized.\r\n"},
    {0x80040110u, L"Class does not support aggregation (or class object is remote)\r\n"},
    {0x80040111u, L"ClassFactory cannot supply requested class\r\n"},
    {0x80040154u, L"Class not registered\r\n"},
    {0x800401F0u, L"CoInitialize has not been called.\r\n"},
    {0x80070005u, L"Access is denied.\r\n"},
    {0x80070006u, L"The handle is invalid.\r\n"},
    {0x8007000Eu, L"Not enough memory resources are available to complete this operation.\r\n"},
    {0x80070015u, L"The device is not ready.\r\n"},
    {0x80070057u, L"The parameter is incorrect.\r\n"},
    {0x80070490u, L"Element not found.\r\n"},
    {0x800705B4u, L"This operation returned because the timeout period expired.\r\n"},
};

}  // namespace

// Only FORMAT_MESSAGE_FROM_SYSTEM into the caller's buffer is supported.
// Returns the characters written without the terminator; 0 when the code has
// no text or the text does not fit.
DWORD FormatMessageW(DWORD dwFlags, LPCVOID, DWORD dwMessageId, DWORD, LPWSTR lpBuffer, DWORD nSize, va_list*) {
    if ((dwFlags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 || lpBuffer == nullptr) return 0;
    for (const auto& [code, text] : kMessages) {
        if (code != dwMessageId) continue;
        const size_t length = std::wcslen(text);
        if (length + 1 > nSize) return 0;
        std::wmemcpy(lpBuffer, text, length + 1);
        return static_cast<DWORD>(length);
    }
    return 0;
}
