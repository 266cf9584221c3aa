#include "Unit1.h"

#include "ui/application.h"

TForm1* Form1 = nullptr;

TForm1::TForm1()
    : ui::Form(L"Form1", L"Nakładka dla programu \"Kalmeron\" D02I",
               {.bounds = {0, 0, 666, 206}, .font = &wizard_fonts::kWindow}) {
    onCreate = [this] { FormCreate(this); };
    BitBtn1.onClick = [this] { BitBtn1Click(&BitBtn1); };
    BitBtn2.onClick = [this] { BitBtn2Click(&BitBtn2); };
    BitBtn3.onClick = [this] { BitBtn3Click(&BitBtn3); };
    BitBtn4.onClick = [this] { BitBtn4Click(&BitBtn4); };
    BitBtn5.onClick = [this] { BitBtn5Click(&BitBtn5); };
    TabSheet2.onShow = [this] { TabSheet2Show(&TabSheet2); };
    TabSheet2.onHide = [this] { TabSheet2Hide(&TabSheet2); };
    TabSheet3.onShow = [this] { TabSheet3Show(&TabSheet3); };
    setActiveControl(BitBtn2);
}

void TForm1::Append(ui::Control& control, std::wstring_view piece) {
    control.setText(control.text() + std::wstring(piece));
}

void TForm1::FormCreate(ui::Control*) {
    PageControl1.setActivePageIndex(0);
    HostLocation.clear();
    HostFound = false;
    NetworkEdition = false;
    OwnerName = {};
    StaticText2.setText(
        L"Instalator zainstaluje nakładkę na szablony sprawozdania z badań.\r"
        L"Efekt działania:\r");
    Append(StaticText2, L"Przywraca wersję szablonu sprawozdania sprzed zainstalowania nakładki R02A.\r\r");
    Append(StaticText2, L"Naciśnij przycisk \"Dalej >>\" jeśli chcesz kontynuować.\r");
}

// Next: one page forward. Back is enabled before the page change so that the
// installation page has the last word on it; Next and Cancel are disabled only
// after the last page's show event has run to its end.
void TForm1::BitBtn2Click(ui::Control*) {
    BitBtn1.setEnabled(true);
    if (PageControl1.activePageIndex() < PageControl1.pageCount() - 1)
        PageControl1.setActivePageIndex(PageControl1.activePageIndex() + 1);
    if (PageControl1.activePageIndex() == PageControl1.pageCount() - 1) {
        BitBtn2.setEnabled(false);
        BitBtn3.setEnabled(false);
    }
}

// Back: one page back; Next and Cancel are enabled first so that a show event can still disable them.
void TForm1::BitBtn1Click(ui::Control*) {
    BitBtn2.setEnabled(true);
    BitBtn3.setEnabled(true);
    if (PageControl1.activePageIndex() > 0) PageControl1.setActivePageIndex(PageControl1.activePageIndex() - 1);
    if (PageControl1.activePageIndex() == 0) BitBtn1.setEnabled(false);
}

void TForm1::BitBtn3Click(ui::Control*) {
    Form1->close();
}

void TForm1::BitBtn4Click(ui::Control*) {
    Form1->close();
}
