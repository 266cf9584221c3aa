// Drives the real Instalator.exe from another process, as a person at the
// screen would: finds its windows, reads their texts and states, presses
// buttons, answers its boxes and waits for it to end.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace e2e {

// How long the driver waits for any one thing to happen before it gives up.
inline constexpr DWORD kPatience = 20000;

// A file of the build as Windows programs under Wine see it: drive Z: is /.
std::wstring windowsPath(std::string_view unixPath);

// The text of any window, through WM_GETTEXT, as another process reads it.
std::wstring windowText(HWND window);
std::wstring className(HWND window);
// The first descendant of `parent` (at any depth) for which `match` holds.
HWND findDescendant(HWND parent, const std::function<bool(HWND)>& match);

// Polls `condition` until it holds or `timeout` ms pass; true when it held.
bool waitUntil(const std::function<bool()>& condition, DWORD timeout = kPatience);

// A block of memory in another process, freed with the object: for messages
// whose parameters point at memory, which Windows does not carry across.
class RemoteMemory {
public:
    RemoteMemory(HANDLE process, size_t size);
    ~RemoteMemory();
    RemoteMemory(const RemoteMemory&) = delete;
    RemoteMemory& operator=(const RemoteMemory&) = delete;
    char* at(size_t offset) const { return static_cast<char*>(address_) + offset; }
    LPARAM address(size_t offset = 0) const { return reinterpret_cast<LPARAM>(at(offset)); }
    void write(size_t offset, const void* data, size_t size);
    void read(size_t offset, void* data, size_t size) const;

private:
    HANDLE process_;
    void* address_;
};

// Selects `folder` in the shell's folder dialog `browser` of `process`
// (BFFM_SETSELECTIONW), and waits until the dialog's tree shows it selected.
// False when it never does.
bool selectInFolderDialog(HANDLE process, HWND browser, const std::wstring& folder);

class Wizard {
public:
    static constexpr std::wstring_view kCaption = L"Nakładka dla programu \"Kalmeron\" D02I";

    // Starts the exe in `currentFolder` (the driver's own when empty). Throws when it cannot be started.
    explicit Wizard(const std::wstring& exe, const std::wstring& currentFolder = {});
    // A wizard still running is ended: a failed scenario must not leave it behind.
    ~Wizard();
    Wizard(const Wizard&) = delete;
    Wizard& operator=(const Wizard&) = delete;

    HANDLE process() const { return process_.hProcess; }
    DWORD threadId() const { return process_.dwThreadId; }

    // The wizard window once it is shown and takes input; throws when it does not come.
    HWND window();
    // A control of the wizard window by its ID; throws when there is none.
    HWND control(int id);
    std::wstring text(int id) { return windowText(control(id)); }
    bool enabled(int id) { return IsWindowEnabled(control(id)) != FALSE; }
    // Shown on the screen: the control and every window it lies on.
    bool visible(int id) { return IsWindowVisible(control(id)) != FALSE; }
    // The window that has the keyboard focus in the wizard's GUI thread.
    HWND focus() const;

    // Presses a button without waiting for its handler, which may open a modal box.
    void click(int id);
    void click(HWND button);
    void post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // Returns once the wizard's thread has handled everything sent before.
    void settle();

    // A visible dialog (#32770) of the wizard's process: by caption, or the
    // first whose descendants satisfy `match`. Throws when none comes.
    HWND dialog(std::wstring_view caption);
    HWND dialog(const std::function<bool(HWND)>& match);
    // The other visible top-level windows of the process than the wizard window.
    int otherWindows();

    // The exit code, or nothing when the process has not ended within `timeout` ms.
    std::optional<DWORD> exitCode(DWORD timeout = kPatience);

private:
    HWND findTopLevel(const std::function<bool(HWND)>& match) const;

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

// The simple message box: its text, whether it has an icon, and its OK button.
struct MessageBoxSeen {
    std::wstring caption;
    std::wstring text;
    bool icon;
    bool okOnly;  // OK is its only button
    HWND owner;
};
MessageBoxSeen readMessageBox(HWND box);

}  // namespace e2e
