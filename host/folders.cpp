#include "folders.h"

#include "ui/error.h"

#include <windows.h>

namespace host {

std::wstring executableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) ui::throwLastError("GetModuleFileNameW");
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return {};
    const bool driveRoot = slash == 2 && path[1] == L':';
    return path.substr(0, driveRoot ? slash + 1 : slash);
}

std::wstring withoutTrailingBackslash(std::wstring folder) {
    if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
    return folder;
}

}  // namespace host
