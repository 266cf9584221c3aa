// The real Instalator.exe, started and worked from outside as a person would:
// through its windows, the registry of the prefix, the shell's folder dialog
// and the files it writes.
#include "control_ids.h"
#include "driver.h"
#include "tests/support/temp_folder.h"
#include "tests/support/wizard_texts.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

using namespace e2e;

const std::wstring kExe = windowsPath(E2E_INSTALATOR);

using wizard_texts::kWelcome;
const std::wstring kNetworkEdition = wizard_texts::kNetwork + L"\r";
// The owner the network fixture reports, in CP1250; shown right only through the system code page.
const std::wstring kOwner = L"Zakład Badań Łódź";
const std::wstring& kPressNext = wizard_texts::kPrompt;
const std::wstring& kNoRegistry = wizard_texts::kOffered;
const std::wstring& kNoComponents = wizard_texts::kProbeFailed;
const std::wstring kInstalled = wizard_texts::kHeading + wizard_texts::kSuccess;

struct Template {
    const wchar_t* resource;
    const wchar_t* target;
    size_t size;
};

const Template kTemplates[] = {
    {L"Plik1T", L"\\SZABLONY\\CHDIAPARATURA.rtf", 164}, {L"Plik2T", L"\\SZABLONY\\CHGTAPARATURA.rtf", 164},
    {L"Plik3T", L"\\SZABLONY\\CHSTAPARATURA.rtf", 164}, {L"Plik4T", L"\\SZABLONY\\DMAPARATURA.rtf", 164},
    {L"Plik5T", L"\\SZABLONY\\DOAPARATURA.rtf", 164},   {L"Plik6T", L"\\SZABLONY\\HSAPARATURA.rtf", 164},
    {L"Plik7T", L"\\SZABLONY\\HWAPARATURA.rtf", 164},   {L"Plik8T", L"\\SZABLONY\\MGAPARATURA.rtf", 164},
    {L"Plik9T", L"\\SZABLONY\\MUAPARATURA.rtf", 164},   {L"Plik10T", L"\\SZABLONY\\MZAPARATURA.rtf", 164},
    {L"Plik11T", L"\\SZABLONY\\OEAPARATURA.rtf", 164},  {L"Plik12T", L"\\SZABLONY\\OSAPARATURA.rtf", 164},
    {L"Plik13T", L"\\SZABLONY\\PDAPARATURA.rtf", 164},  {L"Plik14T", L"\\SZABLONY\\PSAPARATURA.rtf", 164},
    {L"Plik15T", L"\\SZABLONY\\PWAPARATURA.rtf", 166},  {L"Plik16T", L"\\SZABLONY\\SPTABLCD1.rtf", 743},
    {L"Plik17T", L"\\SZABLONY\\WLAPARATURA.rtf", 136},  {L"Plik18T", L"\\SZABLONY\\WWAPARATURA.rtf", 164},
};

std::string toUtf8(const std::wstring& text) {
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

// The bytes of a raw-data resource of Instalator.exe, read from the file.
std::string exeResource(const wchar_t* name) {
    HMODULE exe = LoadLibraryExW(kExe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!exe) throw std::runtime_error("cannot open Instalator.exe for its resources");
    std::string bytes;
    if (HRSRC found = FindResourceW(exe, name, RT_RCDATA)) {
        const auto* data = static_cast<const char*>(LockResource(LoadResource(exe, found)));
        bytes.assign(data, SizeofResource(exe, found));
    }
    FreeLibrary(exe);
    return bytes;
}

void clearLocation() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"ZeKalmeron");
}

void setLocationValue(DWORD type, const void* data, DWORD size) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, L"ZeKalmeron", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ||
        RegSetValueExW(key, L"Lokalizacja", 0, type, static_cast<const BYTE*>(data), size))
        throw std::runtime_error("cannot write HKCU\\ZeKalmeron");
    RegCloseKey(key);
}

void setLocation(const std::wstring& folder) {
    setLocationValue(REG_SZ, folder.c_str(), static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
}

class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override { clearLocation(); }
    void TearDown() override { clearLocation(); }

    // A host installation: the fixture library `behaviour` as KRYSTEMA.dll and an empty SZABLONY folder.
    std::wstring hostInstallation(const char* behaviour) {
        const std::wstring folder = temp.makeFolder(L"Kalmeron");
        temp.makeFolder(L"Kalmeron\\SZABLONY");
        const std::wstring library = windowsPath(std::string(E2E_BUILD_DIR) + "/hosts/" + behaviour + "/KRYSTEMA.dll");
        if (!CopyFileW(library.c_str(), (folder + L"\\KRYSTEMA.dll").c_str(), FALSE))
            ADD_FAILURE() << "no fixture host library " << toUtf8(library);
        return folder;
    }

    std::unique_ptr<Wizard> start() {
        auto wizard = std::make_unique<Wizard>(kExe, temp.path());
        wizard->window();
        return wizard;
    }

    // The page the wizard shows: 0, 1 or 2, or -1 when not exactly one is visible.
    static int page(Wizard& w) {
        const int sheets[] = {TabSheet1, TabSheet2, TabSheet3};
        int shown = -1;
        for (int i = 0; i < 3; ++i) {
            if (!w.visible(sheets[i])) continue;
            if (shown >= 0) return -1;
            shown = i;
        }
        return shown;
    }

    // Next, and wait until the handler has run to its end: the old page hidden
    // (after the new page's show event), and on the last page Next disabled.
    static void next(Wizard& w) {
        const int from = page(w);
        w.click(BitBtn2);
        if (!waitUntil([&] { return page(w) == from + 1 && (from + 1 < 2 || !w.enabled(BitBtn2)); }))
            throw std::runtime_error("Next on page " + std::to_string(from + 1) + " did not lead to the next page");
        w.settle();
    }

    TempFolder temp;
};

TEST_F(EndToEnd, OpensOnTheWelcomePageWithTheFocusOnNext) {
    auto w = start();
    EXPECT_EQ(windowText(w->window()), Wizard::kCaption);
    EXPECT_EQ(page(*w), 0);
    EXPECT_EQ(w->text(StaticText2), kWelcome);
    EXPECT_FALSE(w->enabled(BitBtn1));
    EXPECT_TRUE(w->enabled(BitBtn2));
    EXPECT_TRUE(w->enabled(BitBtn3));
    EXPECT_EQ(w->focus(), w->control(BitBtn2));
    EXPECT_EQ(w->text(BitBtn1), L"<< Cofnij");
    EXPECT_EQ(w->text(BitBtn2), L"Dalej >>");
    EXPECT_EQ(w->text(BitBtn3), L"Anuluj");
    RECT frame;
    GetWindowRect(w->window(), &frame);
    EXPECT_NEAR(frame.left + frame.right, GetSystemMetrics(SM_CXSCREEN), 1);
    EXPECT_NEAR(frame.top + frame.bottom, GetSystemMetrics(SM_CYSCREEN), 1);
    EXPECT_EQ(w->otherWindows(), 0);
}

TEST_F(EndToEnd, CancelOnTheWelcomePageEndsWithCodeZero) {
    auto w = start();
    w->click(BitBtn3);
    EXPECT_EQ(w->exitCode(), 0u);
}

TEST_F(EndToEnd, CloseBoxEndsWithCodeZeroOnEveryPage) {
    struct Way {
        const char* name;
        UINT message;
        WPARAM wParam;
    };
    const Way ways[] = {{"WM_CLOSE", WM_CLOSE, 0}, {"SC_CLOSE", WM_SYSCOMMAND, SC_CLOSE}};
    for (int target = 0; target < 3; ++target) {
        for (const Way& way : ways) {
            SCOPED_TRACE(std::string(way.name) + " on page " + std::to_string(target + 1));
            // Page 3 is reached through a host that the registry names; page 2 shows the manual choice.
            if (target == 2) setLocation(hostInstallation("network"));
            auto w = start();
            for (int i = 0; i < target; ++i)
                next(*w);
            ASSERT_EQ(page(*w), target);
            w->post(way.message, way.wParam);
            EXPECT_EQ(w->exitCode(), 0u);
            clearLocation();
        }
    }
}

TEST_F(EndToEnd, RegistryFolderWithTheHostLibraryIsReportedOnPage2) {
    const std::wstring folder = hostInstallation("network");
    setLocation(folder);
    auto w = start();
    next(*w);
    EXPECT_EQ(w->text(StaticText3), kNetworkEdition + L"Lokalizacja: " + folder + L"\r" + kOwner + L"\r" + kPressNext);
    EXPECT_TRUE(w->enabled(BitBtn2));
    EXPECT_FALSE(w->visible(Edit1));
    EXPECT_FALSE(w->visible(BitBtn5));
    EXPECT_EQ(w->otherWindows(), 0);
    w->click(BitBtn3);
    EXPECT_EQ(w->exitCode(), 0u);
}

TEST_F(EndToEnd, RegistryFolderWithoutTheLibraryIsToldAndEndsTheWizard) {
    setLocation(temp.makeFolder(L"Pusty"));
    auto w = start();
    w->click(BitBtn2);
    HWND box = w->dialog(L"Instalator");
    const MessageBoxSeen seen = readMessageBox(box);
    EXPECT_EQ(seen.text, kNoComponents);
    EXPECT_FALSE(seen.icon);
    EXPECT_TRUE(seen.okOnly);
    EXPECT_EQ(seen.owner, w->window());
    EXPECT_FALSE(IsWindowEnabled(w->window())) << "the box is modal";
    EXPECT_EQ(w->text(StaticText3), L"Odnaleziono:") << "nothing is written to the page";
    w->click(GetDlgItem(box, IDOK));
    EXPECT_EQ(w->exitCode(), 0u);
}

TEST_F(EndToEnd, RegistryValueOfAnotherTypeIsReportedInTheErrorBox) {
    const DWORD number = 1;
    setLocationValue(REG_DWORD, &number, sizeof number);
    auto w = start();
    w->click(BitBtn2);
    HWND box = w->dialog(L"Instalator");
    const MessageBoxSeen seen = readMessageBox(box);
    EXPECT_EQ(seen.text, L"Invalid data type for 'Lokalizacja'");
    EXPECT_TRUE(seen.icon);
    EXPECT_TRUE(seen.okOnly);
    w->click(GetDlgItem(box, IDOK));
    // The page change completes under the box and the wizard goes on.
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(box) && page(*w) == 1; }));
    w->settle();
    EXPECT_EQ(w->text(StaticText3), L"Odnaleziono:");
    EXPECT_TRUE(w->enabled(BitBtn2));
    EXPECT_EQ(w->otherWindows(), 0);
    w->click(BitBtn3);
    EXPECT_EQ(w->exitCode(), 0u);
}

TEST_F(EndToEnd, NoRegistryValueThenAFolderChosenInTheShellDialog) {
    const std::wstring folder = hostInstallation("network");
    auto w = start();
    next(*w);
    EXPECT_EQ(w->text(StaticText3), kNoRegistry);
    EXPECT_FALSE(w->enabled(BitBtn2));
    EXPECT_TRUE(w->visible(Edit1));
    EXPECT_FALSE(w->enabled(Edit1));
    EXPECT_TRUE(w->visible(BitBtn5));

    w->click(BitBtn5);
    HWND browser =
        w->dialog([](HWND d) { return findDescendant(d, [](HWND c) { return className(c) == L"SysTreeView32"; }); });
    EXPECT_TRUE(findDescendant(browser, [](HWND c) { return windowText(c) == L"Wybierz folder:"; }))
        << "the prompt above the tree";
    EXPECT_FALSE(IsWindowEnabled(w->window())) << "the dialog is modal";
    ASSERT_TRUE(selectInFolderDialog(w->process(), browser, folder)) << "the folder selected in the tree";
    HWND ok = GetDlgItem(browser, IDOK);
    ASSERT_TRUE(ok);
    ASSERT_TRUE(waitUntil([&] { return IsWindowEnabled(ok) != FALSE; }));
    w->click(ok);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(browser); })) << "the dialog closes";

    ASSERT_TRUE(waitUntil([&] { return w->enabled(BitBtn2) || w->otherWindows() > 0; }));
    ASSERT_EQ(w->otherWindows(), 0) << "a box over the wizard: "
                                    << toUtf8(readMessageBox(w->dialog(L"Instalator")).text) << "; the folder "
                                    << toUtf8(w->text(Edit1));
    w->settle();
    EXPECT_EQ(w->text(StaticText3), kNetworkEdition + kOwner + L"\r" + kPressNext);
    EXPECT_EQ(w->text(Edit1), folder);
    EXPECT_TRUE(IsWindowEnabled(w->window()));
    EXPECT_EQ(w->otherWindows(), 0);
    w->click(BitBtn3);
    EXPECT_EQ(w->exitCode(), 0u);
}

TEST_F(EndToEnd, WholeInstallationWritesTheEighteenTemplates) {
    const std::wstring folder = hostInstallation("network");
    setLocation(folder);
    auto w = start();
    next(*w);
    next(*w);
    EXPECT_EQ(w->text(StaticText6), kInstalled);
    EXPECT_EQ(w->text(StaticText4), L"");
    EXPECT_FALSE(w->enabled(BitBtn1));
    EXPECT_FALSE(w->enabled(BitBtn2));
    EXPECT_FALSE(w->enabled(BitBtn3));
    EXPECT_TRUE(w->enabled(BitBtn4));
    for (const Template& entry : kTemplates) {
        SCOPED_TRACE(toUtf8(entry.target));
        const std::string fragment = exeResource(entry.resource);
        EXPECT_EQ(fragment.size(), entry.size);
        EXPECT_EQ(readFile(folder + entry.target), fragment);
    }
    w->click(BitBtn4);
    EXPECT_EQ(w->exitCode(), 0u);
}

}  // namespace
