// The modal boxes the application shows. A program or a test may put its own in
// their place (Application::setDialogs).
#pragma once

#include <windows.h>

#include <string>

namespace ui {

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal box with one OK button; `icon` is 0 or one of the MB_ICON flags.
    virtual void message(HWND owner, const std::wstring& caption, const std::wstring& text, UINT icon) = 0;
    // The shell's folder browser over the whole namespace, file-system folders only.
    // `folder` brings the folder to preselect and, on true, takes the chosen one.
    virtual bool selectFolder(HWND owner, const std::wstring& caption, std::wstring& folder) = 0;
};

// The real boxes of Windows.
Dialogs& systemDialogs();

}  // namespace ui
