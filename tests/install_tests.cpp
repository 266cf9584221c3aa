// The embedded template set and the installation run into a host folder.
#include "install/templates.h"
#include "install_support.h"
#include "support/temp_folder.h"
#include "ui/error.h"
#include "ui/text.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

HMODULE ownModule() {
    return GetModuleHandleW(nullptr);
}

// --- The resources of the program ---

TEST(TemplateResources, DerivedFragmentsHaveTheirListedSizes) {
    // Guards the derivation the other tests compare against.
    for (const ExpectedTemplate& entry : expectedTemplates()) {
        EXPECT_EQ(entry.bytes.size(), entry.size) << ui::narrow(entry.resource);
        EXPECT_EQ(entry.bytes.find('\t'), std::string::npos);
        for (unsigned char c : entry.bytes)
            ASSERT_TRUE(c == '\r' || c == '\n' || (c >= 32 && c < 127));
    }
}

TEST(TemplateResources, EachIsFoundByItsMixedCaseNameWithExactlyTheFragmentsBytes) {
    for (const ExpectedTemplate& entry : expectedTemplates()) {
        SCOPED_TRACE(ui::narrow(entry.resource));
        HRSRC info = FindResourceW(ownModule(), entry.resource, RT_RCDATA);
        ASSERT_NE(info, nullptr);
        EXPECT_EQ(SizeofResource(ownModule(), info), entry.size);
        const templates::ResourceStream stream(ownModule(), entry.resource);
        EXPECT_EQ(std::string(stream.bytes().begin(), stream.bytes().end()), entry.bytes);
    }
}

BOOL CALLBACK collectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names) {
    if (!IS_INTRESOURCE(name)) reinterpret_cast<std::set<std::wstring>*>(names)->insert(name);
    return TRUE;
}

BOOL CALLBACK collectLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR languages) {
    reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
    return TRUE;
}

TEST(TemplateResources, EighteenAreStoredUpperCaseInPolishOnly) {
    std::set<std::wstring> names;
    EnumResourceNamesW(ownModule(), RT_RCDATA, collectName, reinterpret_cast<LONG_PTR>(&names));
    std::set<std::wstring> fragments, expected;
    for (const std::wstring& name : names)
        if (name.starts_with(L"PLIK")) fragments.insert(name);
    for (int i = 1; i <= 18; ++i)
        expected.insert(L"PLIK" + std::to_wstring(i) + L"T");
    EXPECT_EQ(fragments, expected);
    for (const std::wstring& name : expected) {
        std::vector<WORD> languages;
        EnumResourceLanguagesW(ownModule(), RT_RCDATA, name.c_str(), collectLanguage,
                               reinterpret_cast<LONG_PTR>(&languages));
        EXPECT_EQ(languages, std::vector<WORD>{0x0415}) << ui::narrow(name);
    }
}

TEST(TemplateResources, LookupFindsThemWhateverTheUsersLanguage) {
    const LANGID original = GetThreadUILanguage();
    for (LANGID language : {MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN),
                            MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)}) {
        SetThreadUILanguage(language);
        for (const ExpectedTemplate& entry : expectedTemplates()) {
            const templates::ResourceStream stream(ownModule(), entry.resource);
            EXPECT_EQ(stream.bytes().size(), entry.size) << ui::narrow(entry.resource) << " in " << language;
        }
    }
    SetThreadUILanguage(original);
}

TEST(TemplateResources, AMissingResourceRaisesTheOneErrorType) {
    EXPECT_THROW(templates::ResourceStream(ownModule(), L"Plik19T"), ui::Win32Error);
}

// --- The run ---

class InstallRunTest : public InstallTest {
protected:
    void SetUp() override {
        InstallTest::SetUp();
        templatesFolder = host.makeFolder(L"SZABLONY");
    }

    std::wstring targetOf(const ExpectedTemplate& entry) const { return host.path() + entry.target; }
    std::string contentOf(size_t index) const { return readFile(targetOf(expectedTemplates()[index])); }
    // Every target present with bytes of its own that no fragment has.
    void writeOldTargets() const {
        for (size_t i = 0; i < expectedTemplates().size(); ++i)
            writeFile(targetOf(expectedTemplates()[i]), oldBytes(i));
    }
    static std::string oldBytes(size_t index) { return "old template " + std::to_string(index + 1); }

    void expectSuccess() {
        for (const ExpectedTemplate& entry : expectedTemplates())
            EXPECT_EQ(readFile(targetOf(entry)), entry.bytes) << ui::narrow(entry.target);
        EXPECT_EQ(folderEntries(templatesFolder), templateFileNames());
    }

    TempFolder host;
    std::wstring templatesFolder;
};

TEST_F(InstallRunTest, FirstRunWritesEveryTemplateAndReportsSuccess) {
    installInto(host.path());
    EXPECT_EQ(report(), kHeading + kSuccess);
    EXPECT_EQ(progress(), L"");
    EXPECT_FALSE(form().BitBtn1.enabled());
    EXPECT_FALSE(form().BitBtn2.enabled());
    EXPECT_FALSE(form().BitBtn3.enabled());
    EXPECT_TRUE(form().BitBtn4.enabled());
    expectSuccess();
}

TEST_F(InstallRunTest, ExistingTargetsAreReplacedWholeWhateverTheirLengthOrAttributes) {
    struct Existing {
        size_t index;
        std::string bytes;
        DWORD attributes;
    };
    const Existing existing[] = {
        {0, std::string(5000, 'x'), FILE_ATTRIBUTE_NORMAL},
        {1, "short", FILE_ATTRIBUTE_READONLY},
        {2, std::string(200, 'h'), FILE_ATTRIBUTE_HIDDEN},
        {3, std::string(200, 's'), FILE_ATTRIBUTE_SYSTEM},
        {15, std::string(10000, 'r'), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
    };
    const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (const Existing& file : existing) {
        const std::wstring path = targetOf(expectedTemplates()[file.index]);
        writeFile(path, file.bytes);
        ASSERT_TRUE(SetFileAttributesW(path.c_str(), file.attributes));
        ASSERT_EQ(GetFileAttributesW(path.c_str()) & kept, file.attributes & kept) << "the file system keeps them";
    }
    installInto(host.path());
    EXPECT_EQ(report(), kHeading + kSuccess);
    expectSuccess();
    for (const Existing& file : existing) {
        const std::wstring path = targetOf(expectedTemplates()[file.index]);
        EXPECT_EQ(GetFileAttributesW(path.c_str()) & kept, 0u) << ui::narrow(path);
        EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_ARCHIVE) << ui::narrow(path);
    }
}

TEST_F(InstallRunTest, HostFolderEndingInABackslashStillReachesItsTemplateFolder) {
    installInto(host.path() + L"\\");
    EXPECT_EQ(report(), kHeading + kSuccess);
    expectSuccess();
}

// Failure at entry k: entries before it replaced, it and those after untouched,
// nothing left behind in the template folder.
struct FailureCase {
    const char* name;
    size_t failing;  // index of the entry that fails
    std::function<void(const std::wstring& target, std::vector<std::unique_ptr<HeldFile>>& held)> arrange;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

void holdWith(DWORD access, DWORD share, const std::wstring& target, std::vector<std::unique_ptr<HeldFile>>& held) {
    held.push_back(std::make_unique<HeldFile>(target, access, share));
}

const FailureCase kFailures[] = {
    {"FirstTargetHeldWithoutSharing", 0, [](auto& target, auto& held) { holdWith(GENERIC_READ, 0, target, held); }},
    {"MiddleTargetHeldWithoutSharing", 8, [](auto& target, auto& held) { holdWith(GENERIC_READ, 0, target, held); }},
    {"LastTargetHeldWithoutSharing", 17,
     [](auto& target, auto& held) { holdWith(GENERIC_READ | GENERIC_WRITE, 0, target, held); }},
    {"TargetHeldByAWriterThatSharesReading", 4,
     [](auto& target, auto& held) { holdWith(GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, target, held); }},
    // A rename may pass over a holder that shares deletion; the write in place would not.
    {"TargetHeldByAReaderThatSharesEverything", 11,
     [](auto& target, auto& held) {
         holdWith(GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, target, held);
     }},
    {"FirstTargetIsAFolder", 0,
     [](auto& target, auto&) {
         DeleteFileW(target.c_str());
         CreateDirectoryW(target.c_str(), nullptr);
     }},
    {"TableRowTargetIsAFolder", 15,
     [](auto& target, auto&) {
         DeleteFileW(target.c_str());
         CreateDirectoryW(target.c_str(), nullptr);
     }},
};

class InstallFailureTest : public InstallRunTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(InstallFailureTest, StopsAtTheFailingEntryAndKeepsEveryTargetWhole) {
    const FailureCase& c = GetParam();
    writeOldTargets();
    const std::wstring failingTarget = targetOf(expectedTemplates()[c.failing]);
    std::vector<std::unique_ptr<HeldFile>> held;
    c.arrange(failingTarget, held);
    const bool failingIsFolder = GetFileAttributesW(failingTarget.c_str()) & FILE_ATTRIBUTE_DIRECTORY;

    installInto(host.path());
    EXPECT_EQ(report(), kHeading + kFailure);
    EXPECT_EQ(progress(), expectedTemplates()[c.failing].target);
    EXPECT_TRUE(form().BitBtn1.enabled());
    EXPECT_TRUE(form().BitBtn4.enabled());
    held.clear();

    for (size_t i = 0; i < expectedTemplates().size(); ++i) {
        SCOPED_TRACE(ui::narrow(expectedTemplates()[i].target));
        if (i < c.failing)
            EXPECT_EQ(contentOf(i), expectedTemplates()[i].bytes);
        else if (i == c.failing && failingIsFolder)
            EXPECT_TRUE(GetFileAttributesW(failingTarget.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
        else
            EXPECT_EQ(contentOf(i), oldBytes(i));
    }
    EXPECT_EQ(folderEntries(templatesFolder), templateFileNames()) << "a temporary file was left behind";
}

INSTANTIATE_TEST_SUITE_P(AtEntry, InstallFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& test) { return std::string(test.param.name); });

TEST_F(InstallRunTest, HostFolderWithoutTemplateFolderFailsAtTheFirstEntryAndCreatesNothing) {
    RemoveDirectoryW(templatesFolder.c_str());
    installInto(host.path());
    EXPECT_EQ(report(), kHeading + kFailure);
    EXPECT_EQ(progress(), L"\\SZABLONY\\CHDIAPARATURA.rtf");
    EXPECT_TRUE(form().BitBtn1.enabled());
    EXPECT_TRUE(folderEntries(host.path()).empty());
}

TEST_F(InstallRunTest, BackThenNextRunsAgainFromTheFirstEntryAndAppendsToTheReport) {
    writeOldTargets();
    auto holder = std::make_unique<HeldFile>(targetOf(expectedTemplates()[8]), GENERIC_READ, 0);
    installInto(host.path());
    ASSERT_EQ(report(), kHeading + kFailure);
    holder.reset();
    // Replaced by the first run: the second must write it again.
    writeFile(targetOf(expectedTemplates()[0]), "changed between the runs");

    click(form().BitBtn1);
    ASSERT_EQ(page(), 1);
    click(form().BitBtn2);
    ASSERT_EQ(page(), 2);
    EXPECT_EQ(report(), kHeading + kFailure + kHeading + kSuccess);
    EXPECT_EQ(progress(), L"");
    EXPECT_FALSE(form().BitBtn1.enabled());
    expectSuccess();
}

}  // namespace
