#include "dialogs.h"

#include <shlobj.h>

#include <vector>

namespace ui {

namespace {

// While a dialog of ours runs its own loop, every other window of the
// application is disabled; the windows are enabled again whatever happens.
class TaskWindowsDisabled {
public:
    TaskWindowsDisabled() {
        EnumThreadWindows(GetCurrentThreadId(), &TaskWindowsDisabled::disable, reinterpret_cast<LPARAM>(&windows_));
    }
    ~TaskWindowsDisabled() {
        for (HWND window : windows_)
            EnableWindow(window, TRUE);
    }
    TaskWindowsDisabled(const TaskWindowsDisabled&) = delete;
    TaskWindowsDisabled& operator=(const TaskWindowsDisabled&) = delete;

private:
    static BOOL CALLBACK disable(HWND window, LPARAM list) {
        if (IsWindowVisible(window) && IsWindowEnabled(window)) {
            EnableWindow(window, FALSE);
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
        }
        return TRUE;
    }
    std::vector<HWND> windows_;
};

// "Insert a disk" boxes stay hidden while the user browses drives.
class CriticalErrorsSuppressed {
public:
    CriticalErrorsSuppressed() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~CriticalErrorsSuppressed() { SetErrorMode(previous_); }
    CriticalErrorsSuppressed(const CriticalErrorsSuppressed&) = delete;
    CriticalErrorsSuppressed& operator=(const CriticalErrorsSuppressed&) = delete;

private:
    UINT previous_;
};

int CALLBACK preselect(HWND dialog, UINT message, LPARAM, LPARAM folder) {
    if (message == BFFM_INITIALIZED && folder && *reinterpret_cast<const wchar_t*>(folder))
        SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, folder);
    return 0;
}

class SystemDialogs final : public Dialogs {
public:
    void message(HWND owner, const std::wstring& caption, const std::wstring& text, UINT icon) override {
        MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | icon);
    }

    bool selectFolder(HWND owner, const std::wstring& caption, std::wstring& folder) override {
        const DWORD attributes = GetFileAttributesW(folder.c_str());
        if (folder.empty() || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
            folder.clear();
        const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        BROWSEINFOW info{};
        info.hwndOwner = owner;
        info.lpszTitle = caption.c_str();
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        info.lpfn = &preselect;
        info.lParam = reinterpret_cast<LPARAM>(folder.c_str());
        PIDLIST_ABSOLUTE chosen = nullptr;
        {
            TaskWindowsDisabled disabled;
            CriticalErrorsSuppressed quiet;
            chosen = SHBrowseForFolderW(&info);
        }
        if (owner) SetActiveWindow(owner);
        bool confirmed = false;
        if (chosen) {
            wchar_t path[MAX_PATH] = L"";
            SHGetPathFromIDListW(chosen, path);
            CoTaskMemFree(chosen);
            folder = path;
            confirmed = true;
        }
        if (SUCCEEDED(com)) CoUninitialize();
        return confirmed;
    }
};

}  // namespace

Dialogs& systemDialogs() {
    static SystemDialogs dialogs;
    return dialogs;
}

}  // namespace ui
