// The overlay's template set: which embedded fragment goes to which file of the
// host's template folder, and the resource stream that reads a fragment.
#pragma once

#include <windows.h>

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace templates {

struct Template {
    const wchar_t* resource;  // RT_RCDATA name in the program's own module
    const wchar_t* target;    // relative to the host folder; also the progress text
};

// In the order the run writes them. The fragments themselves live only in the resources.
inline constexpr std::array<Template, 18> kTemplates{{
    {L"Plik1T", L"\\SZABLONY\\CHDIAPARATURA.rtf"},
    {L"Plik2T", L"\\SZABLONY\\CHGTAPARATURA.rtf"},
    {L"Plik3T", L"\\SZABLONY\\CHSTAPARATURA.rtf"},
    {L"Plik4T", L"\\SZABLONY\\DMAPARATURA.rtf"},
    {L"Plik5T", L"\\SZABLONY\\DOAPARATURA.rtf"},
    {L"Plik6T", L"\\SZABLONY\\HSAPARATURA.rtf"},
    {L"Plik7T", L"\\SZABLONY\\HWAPARATURA.rtf"},
    {L"Plik8T", L"\\SZABLONY\\MGAPARATURA.rtf"},
    {L"Plik9T", L"\\SZABLONY\\MUAPARATURA.rtf"},
    {L"Plik10T", L"\\SZABLONY\\MZAPARATURA.rtf"},
    {L"Plik11T", L"\\SZABLONY\\OEAPARATURA.rtf"},
    {L"Plik12T", L"\\SZABLONY\\OSAPARATURA.rtf"},
    {L"Plik13T", L"\\SZABLONY\\PDAPARATURA.rtf"},
    {L"Plik14T", L"\\SZABLONY\\PSAPARATURA.rtf"},
    {L"Plik15T", L"\\SZABLONY\\PWAPARATURA.rtf"},
    {L"Plik16T", L"\\SZABLONY\\SPTABLCD1.rtf"},
    {L"Plik17T", L"\\SZABLONY\\WLAPARATURA.rtf"},
    {L"Plik18T", L"\\SZABLONY\\WWAPARATURA.rtf"},
}};

// The host folder followed directly by the relative path, nothing trimmed. An empty
// host folder throws: the path would name the root of whatever drive is current.
std::wstring targetPath(std::wstring_view hostLocation, std::wstring_view relative);

// Read-only view of a raw-data resource where the loaded module holds it.
// Not finding or not loading the resource throws ui::Win32Error.
class ResourceStream {
public:
    ResourceStream(HMODULE module, const wchar_t* name);
    ResourceStream(const ResourceStream&) = delete;
    ResourceStream& operator=(const ResourceStream&) = delete;

    std::span<const BYTE> bytes() const { return bytes_; }

private:
    std::span<const BYTE> bytes_;
};

}  // namespace templates
