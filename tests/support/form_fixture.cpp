#include "form_fixture.h"

void RecordingDialogs::message(HWND owner, const std::wstring& caption, const std::wstring& text, UINT icon) {
    boxes.push_back({caption, text, icon});
    owners.push_back(owner);
}

bool RecordingDialogs::selectFolder(HWND, const std::wstring& caption, std::wstring& folder) {
    folderCaptions.push_back(caption);
    folderInitial.push_back(folder);
    if (folderAnswers.empty()) return false;
    auto answer = std::move(folderAnswers.front());
    folderAnswers.erase(folderAnswers.begin());
    return answer(folder);
}

void WizardTest::SetUp() {
    ui::Application& application = ui::Application::instance();
    application.setTitle(L"Instalator");
    application.setDialogs(&dialogs);
    application.createForm(Form1);
    Form1->show();
    pumpMessages();
}

void WizardTest::TearDown() {
    ui::Application& application = ui::Application::instance();
    application.destroyForms();
    application.setDialogs(nullptr);
    Form1 = nullptr;
}

void WizardTest::click(ui::Button& button) {
    SendMessageW(button.handle(), BM_CLICK, 0, 0);
}

void WizardTest::pumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}
