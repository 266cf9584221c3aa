#include "install_support.h"

#include <filesystem>
#include <stdexcept>

namespace {

enum class Shape { Pattern, PatternThenLineEnd, FirstFourLines, TableRow };

std::vector<std::string> patternLines(const std::string& code) {
    return {
        "\\pard \\qj\\nowidctlpar\\widctlpar\\adjustright {\\b\\f16\\fs22 <NR2" + code + ">. Aparatura pomiarowa",
        "\\par }{\\f16\\fs22 <" + code + "APARATURAOPIS>",
        "\\par ",
        "\\par }",
        "{\\fs22 <" + code + "APARATURA>\\par }",
    };
}

const std::vector<std::string> kTableRowLines = {
    "\\trowd \\trgaph70\\trrh320\\trleft-70\\trkeep \\clvertalc\\cltxlrtb \\cellx327\\clvertalc\\cltxlrtb "
    "\\cellx3587\\clvertalc\\cltxlrtb \\cellx9185\\pard \\nowidctlpar\\widctlpar\\intbl\\adjustright {\\b\\f16 "
    "7.}{\\b\\f16 \\cell }\\pard\\plain ",
    "\\s6\\keepn\\nowidctlpar\\widctlpar\\intbl\\outlinelevel5\\adjustright \\b\\f16\\fs20\\lang1045\\cgrid "
    "APARATURA POMIAROWA{\\cell }\\pard\\plain \\nowidctlpar\\widctlpar\\intbl\\adjustright "
    "\\fs20\\lang1045\\cgrid {\\f16\\fs22 \\cell }\\pard ",
    "\\nowidctlpar\\widctlpar\\intbl\\adjustright {\\f16\\fs22 \\row }\\pard "
    "\\nowidctlpar\\widctlpar\\adjustright {\\f16\\fs16 ",
    "\\par }\\pard\\plain \\s15\\nowidctlpar\\widctlpar\\adjustright \\fs20\\lang1045\\cgrid ",
    "{\\f16 <APARATURATAB>\\par }",
    "\\pard\\plain \\nowidctlpar\\widctlpar\\adjustright \\fs20\\lang1045\\cgrid {\\f16\\fs16 ",
    "\\par }",
};

std::string joined(const std::vector<std::string>& lines, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i)
        text += (i ? "\r\n" : "") + lines[i];
    return text;
}

std::string fragment(Shape shape, const std::string& code) {
    switch (shape) {
        case Shape::Pattern:
            return joined(patternLines(code), 5);
        case Shape::PatternThenLineEnd:
            return joined(patternLines(code), 5) + "\r\n";
        case Shape::FirstFourLines:
            return joined(patternLines(code), 4);
        case Shape::TableRow:
            return joined(kTableRowLines, kTableRowLines.size());
    }
    throw std::logic_error("unknown shape");
}

}  // namespace

const std::vector<ExpectedTemplate>& expectedTemplates() {
    struct Row {
        const wchar_t* resource;
        const wchar_t* target;
        const char* code;
        size_t size;
        Shape shape;
    };
    static const Row rows[] = {
        {L"Plik1T", L"\\SZABLONY\\CHDIAPARATURA.rtf", "CD", 164, Shape::Pattern},
        {L"Plik2T", L"\\SZABLONY\\CHGTAPARATURA.rtf", "CG", 164, Shape::Pattern},
        {L"Plik3T", L"\\SZABLONY\\CHSTAPARATURA.rtf", "CS", 164, Shape::Pattern},
        {L"Plik4T", L"\\SZABLONY\\DMAPARATURA.rtf", "DM", 164, Shape::Pattern},
        {L"Plik5T", L"\\SZABLONY\\DOAPARATURA.rtf", "DO", 164, Shape::Pattern},
        {L"Plik6T", L"\\SZABLONY\\HSAPARATURA.rtf", "HS", 164, Shape::Pattern},
        {L"Plik7T", L"\\SZABLONY\\HWAPARATURA.rtf", "HW", 164, Shape::Pattern},
        {L"Plik8T", L"\\SZABLONY\\MGAPARATURA.rtf", "MG", 164, Shape::Pattern},
        {L"Plik9T", L"\\SZABLONY\\MUAPARATURA.rtf", "MU", 164, Shape::Pattern},
        {L"Plik10T", L"\\SZABLONY\\MZAPARATURA.rtf", "MZ", 164, Shape::Pattern},
        {L"Plik11T", L"\\SZABLONY\\OEAPARATURA.rtf", "OE", 164, Shape::Pattern},
        {L"Plik12T", L"\\SZABLONY\\OSAPARATURA.rtf", "OS", 164, Shape::Pattern},
        {L"Plik13T", L"\\SZABLONY\\PDAPARATURA.rtf", "PD", 164, Shape::Pattern},
        {L"Plik14T", L"\\SZABLONY\\PSAPARATURA.rtf", "PS", 164, Shape::Pattern},
        {L"Plik15T", L"\\SZABLONY\\PWAPARATURA.rtf", "PW", 166, Shape::PatternThenLineEnd},
        {L"Plik16T", L"\\SZABLONY\\SPTABLCD1.rtf", "", 743, Shape::TableRow},
        {L"Plik17T", L"\\SZABLONY\\WLAPARATURA.rtf", "WL", 136, Shape::FirstFourLines},
        {L"Plik18T", L"\\SZABLONY\\WWAPARATURA.rtf", "WW", 164, Shape::Pattern},
    };
    static const std::vector<ExpectedTemplate> entries = [] {
        std::vector<ExpectedTemplate> result;
        for (const Row& row : rows)
            result.push_back({row.resource, row.target, row.size, fragment(row.shape, row.code)});
        return result;
    }();
    return entries;
}

std::wstring fileNameOf(const ExpectedTemplate& entry) {
    const std::wstring target = entry.target;
    return target.substr(target.rfind(L'\\') + 1);
}

std::set<std::wstring> folderEntries(const std::wstring& folder) {
    std::set<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().wstring());
    return names;
}

std::set<std::wstring> templateFileNames() {
    std::set<std::wstring> names;
    for (const ExpectedTemplate& entry : expectedTemplates())
        names.insert(fileNameOf(entry));
    return names;
}

void InstallTest::SetUp() {
    WizardTest::SetUp();
    form().TabSheet2.onShow = {};
    form().TabSheet2.onHide = {};
}

void InstallTest::installInto(const std::wstring& hostLocation) {
    WizardState::hostLocation(form()) = hostLocation;
    click(form().BitBtn2);
    click(form().BitBtn2);
    ASSERT_EQ(page(), 2);
}

HeldFile::HeldFile(const std::wstring& path, DWORD access, DWORD share)
    : handle_(CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    if (handle_ == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot hold the file open");
}

void HeldFile::release() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
}
