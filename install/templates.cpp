#include "templates.h"

#include "ui/error.h"

#include <stdexcept>

namespace templates {

std::wstring targetPath(std::wstring_view hostLocation, std::wstring_view relative) {
    if (hostLocation.empty()) throw std::invalid_argument("no host folder to install into");
    std::wstring path(hostLocation);
    path += relative;
    return path;
}

ResourceStream::ResourceStream(HMODULE module, const wchar_t* name) {
    HRSRC info = ui::check(FindResourceW(module, name, RT_RCDATA), "FindResourceW");
    HGLOBAL loaded = ui::check(LoadResource(module, info), "LoadResource");
    const DWORD size = SizeofResource(module, info);
    const auto* data = static_cast<const BYTE*>(ui::check(LockResource(loaded), "LockResource"));
    bytes_ = {data, size};
}

}  // namespace templates
