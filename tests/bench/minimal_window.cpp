// The baselines of the start-up figure, built with the same compiler, flags and
// static run time as Instalator.exe:
// - minimal_window: one empty window and its message loop;
// - controls_window (CHILD_WINDOWS defined, with the wizard's manifest): the
//   same window holding as many child windows of the same kinds as the wizard's
//   (6 of its own class, 5 buttons, 14 statics, 1 edit box) with a font, and no
//   logic. Under Wine each child window costs about a millisecond, which the
//   empty window never pays: it shows how much of the wizard's start-up is that.
#include <windows.h>

namespace {

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void addChildWindows([[maybe_unused]] HWND window, [[maybe_unused]] HINSTANCE instance) {
#ifdef CHILD_WINDOWS
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"MS Sans Serif");
    struct Kind {
        const wchar_t* windowClass;
        int count;
    };
    const Kind kinds[] = {{L"MinimalWindow", 6}, {L"BUTTON", 5}, {L"STATIC", 14}, {L"EDIT", 1}};
    int made = 0;
    for (const Kind& kind : kinds) {
        for (int i = 0; i < kind.count; ++i, ++made) {
            HWND child = CreateWindowExW(0, kind.windowClass, L"Text", WS_CHILD | WS_VISIBLE, 8 + 24 * made, 8, 60, 20,
                                         window, nullptr, instance, nullptr);
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
    }
#endif
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = L"MinimalWindow";
    if (!RegisterClassW(&windowClass)) return 1;
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"Minimal", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 500, 380, nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    addChildWindows(window, instance);
    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}
