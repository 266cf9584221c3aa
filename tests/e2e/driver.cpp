#include "driver.h"

#include <commctrl.h>
#include <shlobj.h>

#include <stdexcept>
#include <vector>

namespace e2e {

namespace {

std::string narrowForMessage(std::wstring_view text) {
    if (text.empty()) return {};
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(), size, nullptr, nullptr);
    return result;
}

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what);
}

struct Search {
    const std::function<bool(HWND)>* match;
    HWND found = nullptr;
};

BOOL CALLBACK searchStep(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    if ((*search.match)(window)) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

DWORD processOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

}  // namespace

std::wstring windowsPath(std::string_view unixPath) {
    const int size = MultiByteToWideChar(CP_UTF8, 0, unixPath.data(), static_cast<int>(unixPath.size()), nullptr, 0);
    std::wstring path(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, unixPath.data(), static_cast<int>(unixPath.size()), path.data(), size);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return L"Z:" + path;
}

std::wstring windowText(HWND window) {
    // A window may go away while it is asked: it then has no text.
    const auto unanswered = [window](const char* message) -> std::wstring {
        if (!IsWindow(window)) return {};
        fail(std::string("a window did not answer ") + message + ": error " + std::to_string(GetLastError()));
    };
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kPatience, &length))
        return unanswered("WM_GETTEXTLENGTH");
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL,
                             kPatience, &copied))
        return unanswered("WM_GETTEXT");
    text.resize(copied);
    return text;
}

std::wstring className(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

HWND findDescendant(HWND parent, const std::function<bool(HWND)>& match) {
    Search search{&match};
    EnumChildWindows(parent, &searchStep, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool waitUntil(const std::function<bool()>& condition, DWORD timeout) {
    const ULONGLONG end = GetTickCount64() + timeout;
    for (;;) {
        if (condition()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(20);
    }
}

RemoteMemory::RemoteMemory(HANDLE process, size_t size) : process_(process) {
    address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!address_) fail("VirtualAllocEx failed: error " + std::to_string(GetLastError()));
}

RemoteMemory::~RemoteMemory() {
    VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

void RemoteMemory::write(size_t offset, const void* data, size_t size) {
    if (!WriteProcessMemory(process_, at(offset), data, size, nullptr)) fail("WriteProcessMemory failed");
}

void RemoteMemory::read(size_t offset, void* data, size_t size) const {
    if (!ReadProcessMemory(process_, at(offset), data, size, nullptr)) fail("ReadProcessMemory failed");
}

namespace {

// TVITEMW as a 32-bit process lays it out: pointers and handles of 4 bytes.
struct TreeItem32 {
    UINT mask;
    UINT32 item;
    UINT state;
    UINT stateMask;
    UINT32 text;
    int textMax;
    int image;
    int selectedImage;
    int children;
    UINT32 param;
};
static_assert(sizeof(TreeItem32) == 40);

// The label of the selected item of a tree view in `process`, 32- or 64-bit.
std::wstring treeSelection(HANDLE process, HWND tree) {
    DWORD_PTR item = 0;
    if (!SendMessageTimeoutW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0, SMTO_NORMAL, kPatience, &item) || !item) return {};
    constexpr size_t kChars = 260;
    constexpr size_t kLabel = sizeof(TVITEMW);  // where the label goes, after either layout
    RemoteMemory memory(process, kLabel + kChars * sizeof(wchar_t));
    BOOL emulated = FALSE;
    IsWow64Process(process, &emulated);
    if (emulated) {
        // Its memory lies below 4 GB, so the addresses fit.
        const TreeItem32 request{.mask = TVIF_TEXT,
                                 .item = static_cast<UINT32>(item),
                                 .text = static_cast<UINT32>(memory.address(kLabel)),
                                 .textMax = kChars};
        memory.write(0, &request, sizeof request);
    } else {
        TVITEMW request{};
        request.mask = TVIF_TEXT;
        request.hItem = reinterpret_cast<HTREEITEM>(item);
        request.pszText = reinterpret_cast<wchar_t*>(memory.at(kLabel));
        request.cchTextMax = kChars;
        memory.write(0, &request, sizeof request);
    }
    DWORD_PTR ignored;
    if (!SendMessageTimeoutW(tree, TVM_GETITEMW, 0, memory.address(), SMTO_NORMAL, kPatience, &ignored)) return {};
    wchar_t label[kChars] = L"";
    memory.read(kLabel, label, sizeof label);
    label[kChars - 1] = L'\0';
    return label;
}

}  // namespace

bool selectInFolderDialog(HANDLE process, HWND browser, const std::wstring& folder) {
    HWND tree = findDescendant(browser, [](HWND c) { return className(c) == L"SysTreeView32"; });
    if (!tree) return false;
    const std::wstring leaf = folder.substr(folder.find_last_of(L'\\') + 1);
    RemoteMemory path(process, (folder.size() + 1) * sizeof(wchar_t));
    path.write(0, folder.c_str(), (folder.size() + 1) * sizeof(wchar_t));
    // The dialog may still be filling its tree and selecting its own first folder when
    // it shows: a selection made then is lost, so ask again until it holds.
    return waitUntil([&] {
        DWORD_PTR ignored;
        SendMessageTimeoutW(browser, BFFM_SETSELECTIONW, TRUE, path.address(), SMTO_NORMAL, kPatience, &ignored);
        return treeSelection(process, tree) == leaf;
    });
}

Wizard::Wizard(const std::wstring& exe, const std::wstring& currentFolder) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &process_))
        fail("cannot start " + narrowForMessage(exe) + ": error " + std::to_string(GetLastError()));
}

Wizard::~Wizard() {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 255);
        WaitForSingleObject(process_.hProcess, kPatience);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND Wizard::findTopLevel(const std::function<bool(HWND)>& match) const {
    const DWORD id = process_.dwProcessId;
    const std::function<bool(HWND)> ours = [&](HWND window) { return processOf(window) == id && match(window); };
    Search search{&ours};
    EnumWindows(&searchStep, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Wizard::window() {
    if (window_ && IsWindow(window_)) return window_;
    // Ready for a person: shown, enabled, and holding the keyboard focus, which
    // the wizard gives a control only once the window is up.
    const bool shown = waitUntil([&] {
        window_ = findTopLevel([](HWND w) { return windowText(w) == kCaption; });
        if (!window_ || !IsWindowVisible(window_) || !IsWindowEnabled(window_)) return false;
        HWND focused = focus();
        return focused && (focused == window_ || IsChild(window_, focused));
    });
    if (!shown) fail("the wizard window was not shown, enabled and focused in time");
    settle();
    return window_;
}

HWND Wizard::control(int id) {
    HWND found = findDescendant(window(), [id](HWND w) { return GetDlgCtrlID(w) == id; });
    if (!found) fail("the wizard has no control " + std::to_string(id));
    return found;
}

HWND Wizard::focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(process_.dwThreadId, &info)) return nullptr;
    return info.hwndFocus;
}

void Wizard::click(int id) {
    click(control(id));
}

void Wizard::click(HWND button) {
    if (!PostMessageW(button, BM_CLICK, 0, 0)) fail("cannot post BM_CLICK");
}

void Wizard::post(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!PostMessageW(window(), message, wParam, lParam)) fail("cannot post a message to the wizard");
}

void Wizard::settle() {
    DWORD_PTR ignored;
    if (!SendMessageTimeoutW(window_, WM_NULL, 0, 0, SMTO_NORMAL, kPatience, &ignored))
        fail("the wizard did not answer in time");
}

HWND Wizard::dialog(std::wstring_view caption) {
    return dialog([&](HWND box) { return windowText(box) == caption; });
}

HWND Wizard::dialog(const std::function<bool(HWND)>& match) {
    HWND found = nullptr;
    waitUntil([&] {
        found = findTopLevel([&](HWND w) { return className(w) == L"#32770" && IsWindowVisible(w) && match(w); });
        return found != nullptr;
    });
    if (found) return found;
    std::string seen;
    findTopLevel([&](HWND w) {
        seen += std::string(IsWindowVisible(w) ? " [" : " [hidden ") + narrowForMessage(className(w)) + " \"" +
                narrowForMessage(windowText(w)) + "\"]";
        return false;
    });
    fail("the expected dialog did not open; the wizard's windows:" + seen);
}

int Wizard::otherWindows() {
    int count = 0;
    findTopLevel([&](HWND w) {
        if (w != window_ && IsWindowVisible(w)) ++count;
        return false;
    });
    return count;
}

std::optional<DWORD> Wizard::exitCode(DWORD timeout) {
    if (WaitForSingleObject(process_.hProcess, timeout) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

MessageBoxSeen readMessageBox(HWND box) {
    MessageBoxSeen seen{windowText(box), {}, false, false, GetWindow(box, GW_OWNER)};
    std::vector<HWND> buttons;
    findDescendant(box, [&](HWND child) {
        if (!IsWindowVisible(child)) return false;
        const std::wstring kind = className(child);
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if (kind == L"Button") {
            buttons.push_back(child);
        } else if (kind == L"Static") {
            if ((style & SS_TYPEMASK) == SS_ICON) {
                if (SendMessageW(child, STM_GETICON, 0, 0)) seen.icon = true;
            } else {
                std::wstring text = windowText(child);
                if (text.size() > seen.text.size()) seen.text = std::move(text);
            }
        }
        return false;
    });
    seen.okOnly = buttons.size() == 1 && GetDlgCtrlID(buttons[0]) == IDOK;
    return seen;
}

}  // namespace e2e
