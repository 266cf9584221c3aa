#include "error.h"

#include "text.h"

#include <string>

namespace ui {

namespace {

std::string describe(const char* operation, DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring message(buffer ? buffer : L"", length);
    LocalFree(buffer);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
        message.pop_back();
    std::string result = std::string(operation) + " failed (" + std::to_string(code) + ")";
    if (!message.empty()) result += ": " + narrow(message);
    return result;
}

}  // namespace

Win32Error::Win32Error(const char* operation, DWORD code)
    : std::runtime_error(describe(operation, code)), code_(code) {}

void throwLastError(const char* operation) {
    throw Win32Error(operation, GetLastError());
}

}  // namespace ui
