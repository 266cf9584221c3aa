// The detection page and the host library probe.
#include "Unit1.h"

#include "host/folders.h"
#include "host/library.h"
#include "host/registry.h"
#include "ui/application.h"
#include "ui/text.h"

namespace {

const wchar_t kNextPrompt[] = L"Naciśnij przycisk \"Dalej >>\" aby zainstalować nakładkę.";

const wchar_t* editionSentence(bool network) {
    return network ? L"Odnaleziono wersję sieciową programu \"Kalmeron\".\r"
                   : L"Odnaleziono wersję jednostanowiskową programu \"Kalmeron\".\r";
}

}  // namespace

// Loads the host library from HostLocation, asks it for the edition and the
// owner, and lets it go again. Nothing the library does leaves this method.
void TForm1::ProbeHost() {
    HostFound = true;
    const std::wstring path = host::libraryPath(HostLocation);
    HostLibrary = host::loadLibrary(path);
    if (!HostLibrary) {
        HostFound = false;
        return;
    }
    const host::Unload unload(HostLibrary);
    if (!host::queryLibrary(HostLibrary, NetworkEdition, OwnerName)) HostFound = false;
}

// Runs the detection once: a read error leaves Tag at 0, so the next showing tries again.
void TForm1::TabSheet2Show(ui::Control*) {
    if (TabSheet2.tag != 0) return;
    {
        const host::RegistryKey registry(HKEY_CURRENT_USER, L"ZeKalmeron");
        if (registry.valueExists(L"Lokalizacja")) {
            HostLocation = registry.readString(L"Lokalizacja");
            ProbeHost();
            if (!HostFound) {
                ui::Application::instance().showMessage(
                    L"Nie odnaleziono potrzebnych składników programu, skontaktuj się ze sprzedawcą. Nastąpi "
                    L"zamknięcie instalatora.");
                Form1->close();
            } else {
                StaticText3.setText(editionSentence(NetworkEdition));
                Append(StaticText3, L"Lokalizacja: " + HostLocation + L"\r");
                Append(StaticText3, ui::fromAnsi(OwnerName.text()) + L"\r");
                Append(StaticText3, kNextPrompt);
            }
        } else {
            StaticText3.setText(
                L"Nie odnaleziono rejestru!!!\r"
                L"Problem z określeniem lokalizacji programu \"Kalmron\". Określ lokalizację programu na dysku lub "
                L"skontaktuj się ze sprzedawcą.");
            BitBtn2.setEnabled(false);
            Edit1.setVisible(true);
            BitBtn5.setVisible(true);
        }
    }
    TabSheet2.tag = 1;
}

// Tidies the page when a detection was cut short by an error.
void TForm1::TabSheet2Hide(ui::Control*) {
    if (TabSheet2.tag != 0) return;
    Edit1.setVisible(false);
    BitBtn5.setVisible(false);
    StaticText3.setText(L"");
}

// The manual choice: every press asks for a folder, probes it and reports.
void TForm1::BitBtn5Click(ui::Control*) {
    ui::Application& application = ui::Application::instance();
    std::wstring folder = host::executableFolder();
    if (application.dialogs().selectFolder(application.dialogOwner(), L"Wybierz folder:", folder))
        HostLocation = host::withoutTrailingBackslash(folder);
    Edit1.setText(HostLocation);
    ProbeHost();
    if (!HostFound) {
        application.showMessage(
            L"W podanej lokalizacji nie odnaleziono potrzebnych składników programu. Zmień lokalizację lub "
            L"skontaktuj się ze sprzedawcą.");
        return;
    }
    StaticText3.setText(editionSentence(NetworkEdition));
    Append(StaticText3, ui::fromAnsi(OwnerName.text()) + L"\r");
    Append(StaticText3, kNextPrompt);
    BitBtn2.setEnabled(true);
}
