// Start-up figure: from the start of a process to its window shown and idle
// (WaitForInputIdle, and a visible top-level window of the process), for
// Instalator.exe and for a program that shows one empty window, built the same
// way. The two take turns, after a warm-up of each; the medians and their ratio
// make one line. Usage: startup_bench [rounds [exe baseline-exe]], paths as Unix paths.
#include "e2e/driver.h"

#include "timing.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using bench::medianMs;
using bench::now;

[[noreturn]] void fail(const char* what, const std::wstring& exe) {
    std::fprintf(stderr, "startup_bench: %s: %ls (error %lu)\n", what, exe.c_str(), GetLastError());
    std::exit(1);
}

struct Search {
    DWORD process;
    HWND found;
};

BOOL CALLBACK findShown(HWND window, LPARAM data) {
    auto& search = *reinterpret_cast<Search*>(data);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != search.process || !IsWindowVisible(window)) return TRUE;
    search.found = window;
    return FALSE;
}

// Seconds from the start of `exe` to its window shown and idle. Closes the
// window afterwards and waits for the process to end with code 0.
double startUp(const std::wstring& exe) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring commandLine = L"\"" + exe + L"\"";
    const double start = now();
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        fail("cannot start", exe);
    Search search{process.dwProcessId, nullptr};
    const double patience = start + 30.0;
    while (!search.found) {
        if (WaitForInputIdle(process.hProcess, 30000) != 0) fail("no idle input loop", exe);
        EnumWindows(findShown, reinterpret_cast<LPARAM>(&search));
        if (!search.found) {
            if (now() > patience) fail("no window shown", exe);
            Sleep(1);
        }
    }
    const double elapsed = now() - start;

    PostMessageW(search.found, WM_CLOSE, 0, 0);
    DWORD code = 1;
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0 || !GetExitCodeProcess(process.hProcess, &code) ||
        code != 0)
        fail("did not end with code 0 after WM_CLOSE", exe);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return elapsed;
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    const std::wstring instalator = e2e::windowsPath(argc > 3 ? argv[2] : STARTUP_INSTALATOR);
    const std::wstring minimal = e2e::windowsPath(argc > 3 ? argv[3] : STARTUP_MINIMAL);
    const std::wstring controls = e2e::windowsPath(STARTUP_CONTROLS);

    for (int warmUp = 0; warmUp < 2; ++warmUp) {
        startUp(instalator);
        startUp(minimal);
        startUp(controls);
    }
    std::vector<double> wizard, baseline, reference;
    for (int round = 0; round < rounds; ++round) {
        wizard.push_back(startUp(instalator));
        baseline.push_back(startUp(minimal));
        reference.push_back(startUp(controls));
    }
    const double wizardMs = medianMs(wizard), baselineMs = medianMs(baseline), referenceMs = medianMs(reference);
    std::printf(
        "start-up to window shown and idle: Instalator.exe %.1f ms, one empty window %.1f ms, "
        "ratio %.2fx (budget 1.25x; medians of %d)\n",
        wizardMs, baselineMs, wizardMs / baselineMs, rounds);
    std::printf(
        "start-up reference: one window with 26 plain child windows of the wizard's kinds %.1f ms, "
        "Instalator.exe / reference %.2fx, reference / one empty window %.2fx\n",
        referenceMs, wizardMs / referenceMs, referenceMs / baselineMs);
    return 0;
}
