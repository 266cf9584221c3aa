// HKEY_CURRENT_USER\ZeKalmeron of the suite's prefix for one test: removed when
// the test starts and when it ends.
#pragma once

#include <windows.h>

#include <string>

class ScopedHostKey {
public:
    ScopedHostKey();
    ~ScopedHostKey();
    ScopedHostKey(const ScopedHostKey&) = delete;
    ScopedHostKey& operator=(const ScopedHostKey&) = delete;

    // The key without any value.
    void create() const;
    // "Lokalizacja" as REG_SZ with its terminating NUL.
    void setLocation(const std::wstring& folder) const;
    // "Lokalizacja" with any type and exactly these bytes.
    void setLocation(DWORD type, const std::string& bytes) const;
    static void remove();
};

// The bytes of a UTF-16 text, as the registry stores a string.
std::string utf16Bytes(const std::wstring& text, bool terminated = true);
