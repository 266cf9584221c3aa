// The one exception type for a failed Win32 call.
#pragma once

#include <windows.h>

#include <stdexcept>

namespace ui {

class Win32Error : public std::runtime_error {
public:
    Win32Error(const char* operation, DWORD code);
    DWORD code() const noexcept { return code_; }

private:
    DWORD code_;
};

// Turns GetLastError() into a Win32Error; the only place that does.
[[noreturn]] void throwLastError(const char* operation);

template <class T>
T check(T result, const char* operation) {
    if (!result) throwLastError(operation);
    return result;
}

}  // namespace ui
