#include "application.h"

#include "system.h"
#include "text.h"

namespace ui {

Application& Application::instance() {
    static Application application;
    return application;
}

Application::Application() : dialogs_(&systemDialogs()) {}

void Application::initialize() {
    // System libraries come from the system folder only, never from the folder the
    // installer was downloaded into nor from the current directory.
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    const auto setDefaultDllDirectories =
        systemFunction<SetDefaultDllDirectoriesFn>(L"kernel32.dll", "SetDefaultDllDirectories");
    if (!setDefaultDllDirectories || !setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) SetDllDirectoryW(L"");
}

void Application::destroyForms() {
    while (!forms_.empty())
        forms_.pop_back();
    mainForm_ = nullptr;
    terminated_ = false;
    // A quit request left by a closed form must not end the next message loop.
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

int Application::run() {
    if (!mainForm_ || terminated_) return 0;
    running_ = true;
    mainForm_->show();
    MSG message;
    while (!terminated_ && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(mainForm_->handle(), &message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    running_ = false;
    return 0;
}

void Application::terminate() {
    terminated_ = true;
    if (running_) PostQuitMessage(0);
}

HWND Application::dialogOwner() const {
    HWND active = GetActiveWindow();
    if (active) return active;
    return mainForm_ && mainForm_->showing() ? mainForm_->handle() : nullptr;
}

void Application::showMessage(const std::wstring& text) {
    dialogs_->message(dialogOwner(), title_, text, 0);
}

void Application::showException(std::exception_ptr error) noexcept {
    try {
        std::wstring text;
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            text = widen(e.what());
        } catch (...) {
            text = L"Unknown error";
        }
        dialogs_->message(dialogOwner(), title_, text, MB_ICONERROR);
    } catch (...) {
        // Nothing is left to report with.
    }
}

}  // namespace ui
