// Walks the real wizard page by page for scripts/screenshots: starts it, and on
// each page writes <folder>\<name>.ready (the window's place and the screen's
// DPI), waits for <folder>\<name>.taken, then presses Next. A name "-" takes
// no picture of that page. At the end it closes the wizard.
//
//   screenshot_walker <Instalator.exe> <folder> <name of page 1> [<page 2> [<page 3>]]
#include "control_ids.h"
#include "driver.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace e2e;

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Shows the page to whoever takes the picture and waits until it is taken.
void shoot(Wizard& wizard, const std::wstring& folder, const std::wstring& name) {
    RECT frame;
    GetWindowRect(wizard.window(), &frame);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const std::wstring ready = folder + L"\\" + name + L".ready";
    {
        std::ofstream out(std::filesystem::path(ready + L".part"));
        out << frame.left << ' ' << frame.top << ' ' << frame.right - frame.left << ' ' << frame.bottom - frame.top
            << ' ' << dpi << '\n';
    }
    MoveFileExW((ready + L".part").c_str(), ready.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!waitUntil([&] { return exists(folder + L"\\" + name + L".taken"); }, 120000))
        throw std::runtime_error("nobody took the picture");
}

void next(Wizard& wizard, int to) {
    const int sheets[] = {TabSheet1, TabSheet2, TabSheet3};
    wizard.click(BitBtn2);
    // The page is reached, or the wizard shows a box over it: either is worth a picture.
    const bool reached = waitUntil([&] {
        if (IsWindowEnabled(wizard.window()) && wizard.visible(sheets[to]) && !wizard.visible(sheets[to - 1]))
            return true;
        return wizard.otherWindows() > 0;
    });
    if (!reached) throw std::runtime_error("Next did not lead to the next page");
    Sleep(300);  // let the page paint
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4 || argc > 6) {
        std::fputs("usage: screenshot_walker <Instalator.exe> <folder> <page 1> [<page 2> [<page 3>]]\n", stderr);
        return 2;
    }
    try {
        const std::wstring folder = argv[2];
        Wizard wizard(argv[1]);
        wizard.window();
        Sleep(300);
        for (int page = 0; page < argc - 3; ++page) {
            if (page > 0) next(wizard, page);
            const std::wstring name = argv[3 + page];
            if (name != L"-") shoot(wizard, folder, name);
        }
        wizard.post(WM_CLOSE);
        const auto code = wizard.exitCode();
        return code ? static_cast<int>(*code) : 1;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "screenshot_walker: %s\n", error.what());
        return 1;
    }
}
