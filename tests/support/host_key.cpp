#include "host_key.h"

#include <stdexcept>

ScopedHostKey::ScopedHostKey() {
    remove();
}

ScopedHostKey::~ScopedHostKey() {
    remove();
}

void ScopedHostKey::remove() {
    // A test may leave the key with an access list that refuses deletion; its
    // owner may still open the list up again.
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"ZeKalmeron", 0, WRITE_DAC, &key) == ERROR_SUCCESS) {
        SECURITY_DESCRIPTOR open;
        InitializeSecurityDescriptor(&open, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorDacl(&open, TRUE, nullptr, FALSE);
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &open);
        RegCloseKey(key);
    }
    RegDeleteTreeW(HKEY_CURRENT_USER, L"ZeKalmeron");
}

void ScopedHostKey::create() const {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"ZeKalmeron", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot create HKCU\\ZeKalmeron");
    RegCloseKey(key);
}

void ScopedHostKey::setLocation(const std::wstring& folder) const {
    setLocation(REG_SZ, utf16Bytes(folder));
}

void ScopedHostKey::setLocation(DWORD type, const std::string& bytes) const {
    create();
    const LSTATUS status = RegSetKeyValueW(HKEY_CURRENT_USER, L"ZeKalmeron", L"Lokalizacja", type, bytes.data(),
                                           static_cast<DWORD>(bytes.size()));
    if (status != ERROR_SUCCESS) throw std::runtime_error("cannot set HKCU\\ZeKalmeron\\Lokalizacja");
}

std::string utf16Bytes(const std::wstring& text, bool terminated) {
    const size_t characters = text.size() + (terminated ? 1 : 0);
    return std::string(reinterpret_cast<const char*>(text.c_str()), characters * sizeof(wchar_t));
}
