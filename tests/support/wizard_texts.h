// The texts the wizard shows, written out here as the tests expect them, not
// taken from the program: a change to the program's texts must fail a test.
#pragma once

#include <string>

namespace wizard_texts {

inline const std::wstring kWelcome =
    L"Instalator zainstaluje nakładkę na szablony sprawozdania z badań.\r"
    L"Efekt działania:\r"
    L"Przywraca wersję szablonu sprawozdania sprzed zainstalowania nakładki R02A.\r"
    L"\r"
    L"Naciśnij przycisk \"Dalej >>\" jeśli chcesz kontynuować.\r";

// Detection page.
inline const std::wstring kOffered =
    L"Nie odnaleziono rejestru!!!\r"
    L"Problem z określeniem lokalizacji programu \"Kalmron\". Określ lokalizację programu na dysku lub skontaktuj "
    L"się ze sprzedawcą.";
inline const std::wstring kNetwork = L"Odnaleziono wersję sieciową programu \"Kalmeron\".";
inline const std::wstring kSingle = L"Odnaleziono wersję jednostanowiskową programu \"Kalmeron\".";
inline const std::wstring kPrompt = L"Naciśnij przycisk \"Dalej >>\" aby zainstalować nakładkę.";
inline const std::wstring kProbeFailed =
    L"Nie odnaleziono potrzebnych składników programu, skontaktuj się ze sprzedawcą. Nastąpi zamknięcie "
    L"instalatora.";
inline const std::wstring kRefused =
    L"W podanej lokalizacji nie odnaleziono potrzebnych składników programu. Zmień lokalizację lub skontaktuj się "
    L"ze sprzedawcą.";

// Installation page.
inline const std::wstring kHeading = L"Instalacja nakładki D02I.\r";
inline const std::wstring kSuccess =
    L"Gotowe. Zainstalowano nakładkę D02I. Zamknij instalatora i uruchom program \"Kalmeron\".\r\r"
    L"Jeśli pracujesz w sieci pamiętaj aby zainstalować nakładkę na wszystkich komputerach.";
inline const std::wstring kFailure =
    L"Wystąpił problem podczas instalacji, instalacja nie powiodła się!. Skontaktuj się ze sprzedawcą.";

}  // namespace wizard_texts
