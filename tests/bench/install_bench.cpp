// Figures of the installation: the page's run of the 18 entries, the safe writer
// alone, and a plain baseline that creates and writes the same 18 files in place,
// all in this one process. Prints one line per figure; the median of many rounds.
#include "install/file_writer.h"
#include "install/templates.h"
#include "support/form_fixture.h"
#include "support/temp_folder.h"
#include "ui/application.h"

#include "timing.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

namespace {

using bench::medianMs;
using bench::now;

void writePlainly(const std::wstring& path, std::span<const BYTE> bytes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (file == INVALID_HANDLE_VALUE ||
        !WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
        std::fprintf(stderr, "install_bench: plain write failed (%lu)\n", GetLastError());
        std::exit(1);
    }
    CloseHandle(file);
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;

    ui::Application& application = ui::Application::instance();
    application.setTitle(L"Instalator");
    application.createForm(Form1);
    Form1->show();

    TempFolder runHost, writerHost, plainHost;
    for (const TempFolder* host : {&runHost, &writerHost, &plainHost})
        host->makeFolder(L"SZABLONY");
    WizardState::hostLocation(*Form1) = runHost.path();

    const HMODULE module = GetModuleHandleW(nullptr);
    std::vector<double> run, writer, plain;
    for (int round = 0; round < rounds; ++round) {
        Form1->StaticText6.setText(L"");
        double start = now();
        Form1->TabSheet3Show(&Form1->TabSheet3);
        run.push_back(now() - start);
        if (!Form1->BitBtn4.enabled() || Form1->BitBtn1.enabled()) {
            std::fprintf(stderr, "install_bench: the run failed\n");
            return 1;
        }

        start = now();
        for (const templates::Template& entry : templates::kTemplates) {
            const templates::ResourceStream stream(module, entry.resource);
            templates::replaceFile(writerHost.path() + entry.target, stream.bytes());
        }
        writer.push_back(now() - start);

        start = now();
        for (const templates::Template& entry : templates::kTemplates) {
            const templates::ResourceStream stream(module, entry.resource);
            writePlainly(plainHost.path() + entry.target, stream.bytes());
        }
        plain.push_back(now() - start);
    }

    const double runMs = medianMs(run), writerMs = medianMs(writer), plainMs = medianMs(plain);
    std::printf("install run, 18 templates, page included: %.3f ms\n", runMs);
    std::printf("safe writer alone, 18 templates: %.3f ms\n", writerMs);
    std::printf("plain create and write, 18 files: %.3f ms\n", plainMs);
    std::printf("install run / plain writes: %.1fx\n", runMs / plainMs);
    application.destroyForms();
    return 0;
}
