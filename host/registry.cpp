#include "registry.h"

#include "ui/text.h"

#include <algorithm>

namespace host {

namespace {

std::string quoted(const wchar_t* name) {
    return "'" + ui::narrow(name) + "'";
}

}  // namespace

RegistryKey::RegistryKey(HKEY root, const wchar_t* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) == ERROR_SUCCESS) key_ = key;
}

RegistryKey::~RegistryKey() {
    if (key_) RegCloseKey(key_);
}

bool RegistryKey::valueExists(const wchar_t* name) const {
    return key_ && RegQueryValueExW(key_, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::wstring RegistryKey::readString(const wchar_t* name) const {
    DWORD size = 0;
    if (!key_ || RegQueryValueExW(key_, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return {};
    return readStringData(key_, name, size);
}

std::wstring readStringData(HKEY key, const wchar_t* name, DWORD size) {
    if (size == 0) return {};
    // One character more than the data holds: a value stored without its
    // terminating NUL still ends inside the buffer.
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    DWORD type = REG_NONE;
    DWORD read = size;
    if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &read) != ERROR_SUCCESS)
        throw RegistryError("Failed to get data for " + quoted(name));
    if (type != REG_SZ && type != REG_EXPAND_SZ) throw RegistryError("Invalid data type for " + quoted(name));
    text.resize(std::min<size_t>(read / sizeof(wchar_t), text.size()));
    text.erase(std::find(text.begin(), text.end(), L'\0'), text.end());
    return text;
}

}  // namespace host
