// The installation page.
#include "Unit1.h"
#include "install/file_writer.h"
#include "install/templates.h"

#include <optional>

// The installation: the 18 fragments into the host's template folder, in table
// order, stopping at the first failure. Nothing is rolled back; each target holds
// either its old bytes or the whole fragment.
void TForm1::TabSheet3Show(ui::Control*) {
    std::optional<templates::ResourceStream> stream;
    try {
        BitBtn1.setEnabled(false);
        Append(StaticText6, L"Instalacja nakładki D02I.\r");
        const HMODULE module = GetModuleHandleW(nullptr);
        for (const templates::Template& entry : templates::kTemplates) {
            stream.emplace(module, entry.resource);
            const std::wstring target = templates::targetPath(HostLocation, entry.target);
            // Read-only, hidden or system targets are replaced like any other; a
            // failure here (no such file yet) is left to the write to judge.
            SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_ARCHIVE);
            StaticText4.setText(entry.target);
            templates::replaceFile(target, stream->bytes());
            stream.reset();
        }
        StaticText4.setText(L"");
        Append(StaticText6,
               L"Gotowe. Zainstalowano nakładkę D02I. Zamknij instalatora i uruchom program \"Kalmeron\".\r\r");
        Append(StaticText6, L"Jeśli pracujesz w sieci pamiętaj aby zainstalować nakładkę na wszystkich komputerach.");
    } catch (...) {
        // The failure sentence is the whole report; the system's own text names
        // paths and codes the operator cannot act on.
        stream.reset();
        BitBtn1.setEnabled(true);
        Append(StaticText6,
               L"Wystąpił problem podczas instalacji, instalacja nie powiodła się!. Skontaktuj się ze sprzedawcą.");
    }
}
