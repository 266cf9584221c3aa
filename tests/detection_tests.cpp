// The detection page with the real registry of the suite's prefix, and the
// manual folder choice answered through RecordingDialogs.
#include "support/form_fixture.h"
#include "support/wizard_texts.h"
#include "support/host_fixtures.h"
#include "support/host_key.h"
#include "support/temp_folder.h"
#include "ui/text.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace wizard_texts;

const std::wstring kLaboratory = L"Laboratorium Pomiarowe";

// The owner of the "network" fixture, bytes B3 F1 A3 F3 9F among them, as the
// system's ANSI code page reads it.
std::wstring polishOwner() {
    switch (GetACP()) {
        case 1250:
            return L"Zakład Badań Łódź";
        case 1252:
            return L"Zak\u00B3ad Bada\u00F1 \u00A3\u00F3d\u0178";
        default:
            ADD_FAILURE() << "no expectation for code page " << GetACP();
            return {};
    }
}

std::wstring detectionReport(const std::wstring& edition, const std::wstring& location, const std::wstring& owner) {
    return edition + L"\r" + L"Lokalizacja: " + location + L"\r" + owner + L"\r" + kPrompt;
}

std::wstring choiceReport(const std::wstring& edition, const std::wstring& owner) {
    return edition + L"\r" + owner + L"\r" + kPrompt;
}

TEST(CodePageTest, IsTheOneTheRunAsksFor) {
    const char* locale = std::getenv("INSTALATOR_LC_ALL");
    const bool western = locale && std::string(locale).starts_with("en_US");
    EXPECT_EQ(GetACP(), western ? 1252u : 1250u);
}

class DetectionTest : public WizardTest {
protected:
    void next() { click(form().BitBtn2); }
    void back() { click(form().BitBtn1); }
    std::wstring report() { return form().StaticText3.text(); }
    std::wstring& hostLocation() { return WizardState::hostLocation(form()); }
    intptr_t tag() { return form().TabSheet2.tag; }
    bool manualChoiceShown() { return form().Edit1.visible() && form().BitBtn5.visible(); }
    bool manualChoiceHidden() { return !form().Edit1.visible() && !form().BitBtn5.visible(); }
    // A new wizard, for the next case of a table.
    void restart() {
        WizardTest::TearDown();
        dialogs = RecordingDialogs{};
        trace.clear();
        WizardTest::SetUp();
    }
    // A fresh wizard with this value stored, moved on to the detection page.
    void detectWith(DWORD type, const std::string& bytes) {
        key.setLocation(type, bytes);
        restart();
        next();
    }

    ScopedHostKey key;
    HostTrace trace;
};

// ---------------------------------------------------------------- no folder in the registry

TEST_F(DetectionTest, NoFolderInTheRegistryOffersTheManualChoice) {
    struct Case {
        const char* name;
        bool createKey;
    };
    for (const Case& c : {Case{"no key", false}, Case{"key without the value", true}}) {
        SCOPED_TRACE(c.name);
        ScopedHostKey::remove();
        if (c.createKey) key.create();
        restart();
        next();
        EXPECT_EQ(page(), 1);
        EXPECT_EQ(report(), kOffered);
        EXPECT_FALSE(form().BitBtn2.enabled());
        EXPECT_TRUE(manualChoiceShown());
        EXPECT_FALSE(form().Edit1.enabled());
        EXPECT_EQ(tag(), 1);
        EXPECT_EQ(hostLocation(), L"");
        EXPECT_TRUE(dialogs.boxes.empty());
        EXPECT_TRUE(trace.events().empty());
    }
}

// ---------------------------------------------------------------- a folder that holds the host

TEST_F(DetectionTest, FoundHostIsReportedInFourLines) {
    struct Case {
        const wchar_t* behaviour;
        std::wstring edition;
        std::wstring owner;
    };
    const Case cases[] = {
        {L"network", kNetwork, polishOwner()},
        {L"single", kSingle, kLaboratory},
        {L"owner_empty", kSingle, L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(ui::narrow(c.behaviour));
        const std::wstring folder = hostFixture(c.behaviour);
        key.setLocation(folder);
        restart();
        next();
        EXPECT_EQ(page(), 1);
        EXPECT_EQ(report(), detectionReport(c.edition, folder, c.owner));
        EXPECT_TRUE(form().BitBtn2.enabled());
        EXPECT_TRUE(manualChoiceHidden());
        EXPECT_EQ(tag(), 1);
        EXPECT_EQ(hostLocation(), folder);
        EXPECT_TRUE(dialogs.boxes.empty());
        EXPECT_FALSE(form().closed());
        EXPECT_FALSE(hostLibraryLoaded(folder));
    }
}

// A value stored in the registry, and the host location it must read as.
struct RegistryCase {
    const char* name;
    DWORD type;
    std::string bytes;
    std::wstring location;
};

TEST_F(DetectionTest, RegistryValueIsTakenAsStored) {
    const std::wstring network = hostFixture(L"network");
    TempFolder temp;
    // A folder really named with an environment reference: found only when the
    // reference is left as it is.
    const std::wstring literal = temp.makeFolder(L"%ProgramFiles%");
    CopyFileW(hostFixtureLibrary(L"network").c_str(), (literal + L"\\KRYSTEMA.dll").c_str(), FALSE);
    const RegistryCase cases[] = {
        {"REG_SZ", REG_SZ, utf16Bytes(network), network},
        {"REG_EXPAND_SZ", REG_EXPAND_SZ, utf16Bytes(network), network},
        {"REG_EXPAND_SZ with a reference", REG_EXPAND_SZ, utf16Bytes(literal), literal},
        {"no terminating NUL", REG_SZ, utf16Bytes(network, false), network},
        {"text after a NUL", REG_SZ, utf16Bytes(network + L'\0' + L"C:\\Inny"), network},
        // The backslash stays: the library is looked for with two in a row.
        {"trailing backslash", REG_SZ, utf16Bytes(network + L"\\"), network + L"\\"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        detectWith(c.type, c.bytes);
        EXPECT_EQ(hostLocation(), c.location);
        EXPECT_EQ(report(), detectionReport(kNetwork, c.location, polishOwner()));
        EXPECT_TRUE(dialogs.boxes.empty());
    }
}

// ---------------------------------------------------------------- a folder that fails the probe

TEST_F(DetectionTest, FolderThatFailsTheProbeEndsTheWizard) {
    TempFolder empty;
    const std::wstring network = hostFixture(L"network");
    const RegistryCase cases[] = {
        {"folder without the library", REG_SZ, utf16Bytes(empty.path()), empty.path()},
        {"faulting library", REG_SZ, utf16Bytes(hostFixture(L"faulting")), hostFixture(L"faulting")},
        // Present but empty is not missing: the empty folder is probed and fails.
        {"empty string", REG_SZ, utf16Bytes(L""), L""},
        {"no data at all", REG_SZ, "", L""},
        {"REG_DWORD without data", REG_DWORD, "", L""},
        // Blanks are kept; no folder is named so.
        {"blanks around", REG_SZ, utf16Bytes(L" " + network + L" "), L" " + network + L" "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        detectWith(c.type, c.bytes);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, kProbeFailed);
        EXPECT_EQ(dialogs.boxes[0].caption, L"Instalator");
        EXPECT_EQ(dialogs.boxes[0].icon, 0u);
        EXPECT_TRUE(form().closed());
        EXPECT_TRUE(ui::Application::instance().terminated());
        EXPECT_EQ(hostLocation(), c.location);
        EXPECT_EQ(report(), L"Odnaleziono:");
        EXPECT_TRUE(manualChoiceHidden());
        EXPECT_EQ(tag(), 1);
    }
}

// ---------------------------------------------------------------- a value that cannot be read

TEST_F(DetectionTest, ValueOfAnotherTypeShowsTheErrorBoxAndIsReadAgainNextTime) {
    struct Case {
        const char* name;
        DWORD type;
        std::string bytes;
    };
    const Case cases[] = {
        {"REG_DWORD", REG_DWORD, std::string("\x01\x00\x00\x00", 4)},
        {"REG_BINARY", REG_BINARY, std::string("\x43\x00\x3A\x00", 4)},
        {"REG_MULTI_SZ", REG_MULTI_SZ, utf16Bytes(hostFixture(L"network")) + std::string(2, '\0')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        detectWith(c.type, c.bytes);
        ASSERT_EQ(dialogs.boxes.size(), 1u);
        EXPECT_EQ(dialogs.boxes[0].text, L"Invalid data type for 'Lokalizacja'");
        EXPECT_EQ(dialogs.boxes[0].caption, L"Instalator");
        EXPECT_EQ(dialogs.boxes[0].icon, static_cast<UINT>(MB_ICONERROR));
        // The page change completed; the page shows what it had.
        EXPECT_EQ(page(), 1);
        EXPECT_TRUE(form().TabSheet2.visible());
        EXPECT_EQ(report(), L"Odnaleziono:");
        EXPECT_TRUE(form().BitBtn2.enabled());
        EXPECT_TRUE(manualChoiceHidden());
        EXPECT_EQ(hostLocation(), L"");
        EXPECT_EQ(tag(), 0);
        EXPECT_TRUE(trace.events().empty());

        // Leaving the page tidies it; the next showing reads the registry anew.
        back();
        EXPECT_EQ(page(), 0);
        EXPECT_EQ(report(), L"");
        EXPECT_TRUE(manualChoiceHidden());
        key.setLocation(hostFixture(L"single"));
        next();
        EXPECT_EQ(report(), detectionReport(kSingle, hostFixture(L"single"), kLaboratory));
        EXPECT_EQ(tag(), 1);
        EXPECT_EQ(dialogs.boxes.size(), 1u);
    }
}

TEST_F(DetectionTest, ProbeFailureAfterAReadErrorIsShownOverAnEmptyReport) {
    key.setLocation(REG_BINARY, std::string("\x01\x02", 2));
    next();
    back();
    TempFolder empty;
    key.setLocation(empty.path());
    next();
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[1].text, kProbeFailed);
    EXPECT_EQ(report(), L"");
    EXPECT_TRUE(form().closed());
}

// ---------------------------------------------------------------- later showings

TEST_F(DetectionTest, PageShownAgainChangesNothing) {
    struct Case {
        const char* name;
        std::optional<std::wstring> folder;  // nullopt: nothing in the registry
    };
    for (const Case& c : {Case{"after found", hostFixture(L"network")}, Case{"after no folder", std::nullopt}}) {
        SCOPED_TRACE(c.name);
        ScopedHostKey::remove();
        if (c.folder) key.setLocation(*c.folder);
        restart();
        next();
        const std::wstring first = report();
        const bool choiceShown = manualChoiceShown();
        trace.clear();
        // Whatever the registry says now is not looked at again.
        key.setLocation(hostFixture(L"single"));
        back();
        next();
        EXPECT_EQ(report(), first);
        EXPECT_EQ(manualChoiceShown(), choiceShown);
        EXPECT_TRUE(form().BitBtn2.enabled());
        EXPECT_TRUE(trace.events().empty());
        EXPECT_TRUE(dialogs.boxes.empty());
        EXPECT_EQ(hostLocation(), c.folder.value_or(L""));
    }
}

TEST_F(DetectionTest, NothingIsLoadedBeforeNextOnTheWelcomePage) {
    key.setLocation(hostFixture(L"network"));
    pumpMessages();
    EXPECT_TRUE(trace.events().empty());
    next();
    const std::vector<std::string> events{"attach", "TestSiec", "Wlasciciel", "detach"};
    EXPECT_EQ(trace.events(), events);
    EXPECT_FALSE(hostLibraryLoaded(hostFixture(L"network")));
}

// ---------------------------------------------------------------- the manual choice

struct Choice {
    std::optional<std::wstring> folder;  // nullopt: the dialog is cancelled
    std::wstring location;               // HostLocation and Edit1 afterwards
    bool refused;                        // the refusal message is shown
    std::wstring report;                 // StaticText3 afterwards
    bool next;                           // Next enabled afterwards
};

class ManualChoiceTest : public DetectionTest {
protected:
    void SetUp() override {
        DetectionTest::SetUp();
        next();
        ASSERT_EQ(report(), kOffered);
    }

    void run(const std::vector<Choice>& choices) {
        const std::wstring ownFolder = std::filesystem::path(executablePath()).parent_path().wstring();
        for (size_t i = 0; i < choices.size(); ++i) {
            const Choice& choice = choices[i];
            SCOPED_TRACE("press " + std::to_string(i + 1));
            const size_t press = dialogs.folderCaptions.size();
            dialogs.boxes.clear();
            dialogs.folderAnswers.push_back([folder = choice.folder](std::wstring& answer) {
                if (folder) answer = *folder;
                return folder.has_value();
            });
            click(form().BitBtn5);
            ASSERT_EQ(dialogs.folderCaptions.size(), press + 1);
            EXPECT_EQ(dialogs.folderCaptions[press], L"Wybierz folder:");
            EXPECT_EQ(dialogs.folderInitial[press], ownFolder);
            EXPECT_EQ(hostLocation(), choice.location);
            EXPECT_EQ(form().Edit1.text(), choice.location);
            if (choice.refused) {
                ASSERT_EQ(dialogs.boxes.size(), 1u);
                EXPECT_EQ(dialogs.boxes[0].text, kRefused);
                EXPECT_EQ(dialogs.boxes[0].caption, L"Instalator");
                EXPECT_EQ(dialogs.boxes[0].icon, 0u);
            } else {
                EXPECT_TRUE(dialogs.boxes.empty());
            }
            EXPECT_EQ(report(), choice.report);
            EXPECT_EQ(form().BitBtn2.enabled(), choice.next);
            EXPECT_TRUE(manualChoiceShown());
            EXPECT_FALSE(form().Edit1.enabled());
            EXPECT_FALSE(form().closed());
        }
    }

    static std::wstring executablePath() {
        wchar_t path[MAX_PATH];
        return std::wstring(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    }

    TempFolder empty;
};

TEST_F(ManualChoiceTest, FolderWithTheHostIsAccepted) {
    const std::wstring network = hostFixture(L"network");
    run({{network, network, false, choiceReport(kNetwork, polishOwner()), true}});
}

TEST_F(ManualChoiceTest, TrailingBackslashIsDropped) {
    const std::wstring single = hostFixture(L"single");
    run({{single + L"\\", single, false, choiceReport(kSingle, kLaboratory), true}});
}

TEST_F(ManualChoiceTest, FolderWithoutTheHostIsRefused) {
    run({{empty.path(), empty.path(), true, kOffered, false}});
}

TEST_F(ManualChoiceTest, RefusalAfterAnAcceptedFolderKeepsItsReport) {
    const std::wstring network = hostFixture(L"network");
    const std::wstring accepted = choiceReport(kNetwork, polishOwner());
    run({{network, network, false, accepted, true}, {empty.path(), empty.path(), true, accepted, true}});
}

TEST_F(ManualChoiceTest, CancelBeforeAnyChoiceProbesTheEmptyLocation) {
    run({{std::nullopt, L"", true, kOffered, false}});
}

TEST_F(ManualChoiceTest, CancelAfterAChoiceProbesThatFolderAgain) {
    const std::wstring single = hostFixture(L"single");
    const std::wstring accepted = choiceReport(kSingle, kLaboratory);
    run({{single, single, false, accepted, true}, {std::nullopt, single, false, accepted, true}});
    run({{empty.path(), empty.path(), true, accepted, true}, {std::nullopt, empty.path(), true, accepted, true}});
}

TEST_F(ManualChoiceTest, ReportIsReplacedNotExtended) {
    const std::wstring network = hostFixture(L"network");
    const std::wstring single = hostFixture(L"single");
    run({{network, network, false, choiceReport(kNetwork, polishOwner()), true},
         {single, single, false, choiceReport(kSingle, kLaboratory), true},
         {network, network, false, choiceReport(kNetwork, polishOwner()), true}});
}

TEST_F(ManualChoiceTest, MissingExportsKeepEarlierAnswers) {
    const std::wstring network = hostFixture(L"network");
    const std::wstring onlyWlasciciel = hostFixture(L"only_wlasciciel");
    const std::wstring onlyTestSiec = hostFixture(L"only_testsiec");
    // Without "Wlasciciel" on the first probe the owner line is empty.
    run({{onlyTestSiec, onlyTestSiec, false, choiceReport(kSingle, L""), true},
         {network, network, false, choiceReport(kNetwork, polishOwner()), true},
         {onlyWlasciciel, onlyWlasciciel, false, choiceReport(kNetwork, kLaboratory), true}});
}

TEST_F(ManualChoiceTest, DriveRootIsStoredWithoutItsBackslash) {
    const std::wstring planted = L"C:\\KRYSTEMA.dll";
    ASSERT_TRUE(CopyFileW(hostFixtureLibrary(L"single").c_str(), planted.c_str(), FALSE));
    run({{L"C:\\", L"C:", false, choiceReport(kSingle, kLaboratory), true}});
    DeleteFileW(planted.c_str());
}

}  // namespace
