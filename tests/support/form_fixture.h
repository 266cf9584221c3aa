// A real wizard form for a test: created and shown as the application does,
// with the modal boxes answered by the test instead of a person.
#pragma once

#include "ui/application.h"
#include "wizard/Unit1.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

struct ShownBox {
    std::wstring caption;
    std::wstring text;
    UINT icon;
};

class RecordingDialogs : public ui::Dialogs {
public:
    void message(HWND owner, const std::wstring& caption, const std::wstring& text, UINT icon) override;
    bool selectFolder(HWND owner, const std::wstring& caption, std::wstring& folder) override;

    std::vector<ShownBox> boxes;
    // What the folder dialog answers: the folder chosen, or nothing for Cancel.
    std::vector<std::function<bool(std::wstring&)>> folderAnswers;
    std::vector<std::wstring> folderCaptions;
    std::vector<std::wstring> folderInitial;
    // The window each box was shown over.
    std::vector<HWND> owners;
};

// Reads and writes the form's private state.
class WizardState {
public:
    static std::wstring& hostLocation(TForm1& form) { return form.HostLocation; }
    static bool& hostFound(TForm1& form) { return form.HostFound; }
    static HMODULE hostLibrary(TForm1& form) { return form.HostLibrary; }
    static bool& networkEdition(TForm1& form) { return form.NetworkEdition; }
    static host::ShortString& ownerName(TForm1& form) { return form.OwnerName; }
    static void probeHost(TForm1& form) { form.ProbeHost(); }
};

class WizardTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    TForm1& form() { return *Form1; }
    // Presses a button the way a mouse click does: the button sends its own notification.
    static void click(ui::Button& button);
    static void pumpMessages();
    int page() { return form().PageControl1.activePageIndex(); }

    RecordingDialogs dialogs;
};
