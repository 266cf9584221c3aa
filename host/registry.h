// The registry as the detection reads it: one key, opened for reading only.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace host {

// A value that exists but cannot be read as a string. The message is the
// registry layer's own and reaches the user as it is.
class RegistryError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class RegistryKey {
public:
    // Opens an existing key below `root` for reading; never creates one. When
    // the open fails the object holds no key and every value counts as missing.
    RegistryKey(HKEY root, const wchar_t* path);
    ~RegistryKey();
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    bool isOpen() const { return key_ != nullptr; }
    HKEY handle() const { return key_; }
    // Whether a query of the value succeeds.
    bool valueExists(const wchar_t* name) const;
    // The value as a string: the text of REG_SZ and REG_EXPAND_SZ taken
    // literally up to its first NUL, a value without data as the empty string
    // whatever its type. Another type with data, or a failing read of the data,
    // raises RegistryError.
    std::wstring readString(const wchar_t* name) const;

private:
    HKEY key_ = nullptr;
};

// The second half of readString: reads `size` bytes of the value's data and
// makes a string of them.
std::wstring readStringData(HKEY key, const wchar_t* name, DWORD size);

}  // namespace host
