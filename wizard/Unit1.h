// The wizard window: sidebar, three pages and the navigation buttons.
#pragma once

#include "host/short_string.h"
#include "ui/controls.h"

#include <string>

namespace wizard_fonts {

using ui::Colour;
using ui::Font;

inline constexpr Colour kNavy = Colour::fromRgb(0, 0, 128);
inline constexpr Colour kSilver = Colour::fromRgb(192, 192, 192);
inline constexpr Colour kYellow = Colour::fromRgb(255, 255, 0);
inline constexpr Colour kWhite = Colour::fromRgb(255, 255, 255);
inline constexpr Colour kBlack = Colour::fromRgb(0, 0, 0);

inline constexpr Font kWindow{};
inline constexpr Font kTitleShadow{
    .face = L"Calibri", .height = 27, .bold = true, .italic = true, .charset = EASTEUROPE_CHARSET, .colour = kSilver};
inline constexpr Font kTitle{
    .face = L"Calibri", .height = 27, .bold = true, .italic = true, .charset = EASTEUROPE_CHARSET, .colour = kYellow};
inline constexpr Font kOverlayName{.height = 13, .bold = true, .underline = true, .colour = kWhite};
inline constexpr Font kPublisher{.height = 13, .bold = true, .colour = kWhite};
inline constexpr Font kWelcome{.height = 13, .colour = kBlack};
inline constexpr Font kHeading{.height = 13, .bold = true};
inline constexpr Font kReport{.height = 13};

}  // namespace wizard_fonts

class TForm1 : public ui::Form {
public:
    TForm1();

    // Components, in the order the form declares them. Each names its parent;
    // siblings of one parent are drawn in the order they are listed.
    ui::Panel Panel1{*this, L"Panel1", {.bounds = {0, 0, 185, 206}, .tabOrder = 0, .background = wizard_fonts::kNavy}};
    ui::Panel Panel2{*this, L"Panel2", {.bounds = {185, 0, 481, 206}, .tabOrder = 1}};
    ui::Button BitBtn1{
        Panel2, L"BitBtn1", {.bounds = {112, 172, 75, 25}, .text = L"<< Cofnij", .enabled = false, .tabOrder = 0}};
    ui::Button BitBtn2{Panel2, L"BitBtn2", {.bounds = {204, 172, 75, 25}, .text = L"Dalej >>", .tabOrder = 1}};
    ui::Button BitBtn3{Panel2, L"BitBtn3", {.bounds = {16, 172, 75, 25}, .text = L"Anuluj", .tabOrder = 2}};
    ui::Image Image1{Panel1, L"Image1", {.bounds = {8, 8, 32, 32}, .picture = L"LOGO"}};
    ui::Label Label1{
        Panel1, L"Label1", {.bounds = {54, 10, 0, 0}, .text = L"Kalmeron", .font = &wizard_fonts::kTitleShadow}};
    ui::Label Label2{
        Panel1,
        L"Label2",
        {.bounds = {52, 8, 0, 0}, .text = L"Kalmeron", .font = &wizard_fonts::kTitle, .transparent = true}};
    ui::Label Label3{
        Panel1, L"Label3", {.bounds = {8, 72, 0, 0}, .text = L"Nakładka D02I", .font = &wizard_fonts::kOverlayName}};
    ui::Label Label4{
        Panel1, L"Label4", {.bounds = {8, 124, 0, 0}, .text = L"Kalmeron Soft", .font = &wizard_fonts::kPublisher}};
    ui::Label Label5{
        Panel1, L"Label5", {.bounds = {8, 140, 0, 0}, .text = L"ul. Pomiarowa 7", .font = &wizard_fonts::kPublisher}};
    ui::Label Label6{
        Panel1, L"Label6", {.bounds = {10, 160, 0, 0}, .text = L"00-950 Warszawa", .font = &wizard_fonts::kPublisher}};
    ui::Label Label7{Panel1,
                     L"Label7",
                     {.bounds = {10, 180, 0, 0}, .text = L"tel. 22 000 00 00", .font = &wizard_fonts::kPublisher}};
    ui::PageControl PageControl1{Panel2, L"PageControl1", {.bounds = {0, 0, 481, 206}, .tabOrder = 3}};
    ui::TabSheet TabSheet1{PageControl1, L"TabSheet1"};
    ui::TabSheet TabSheet2{PageControl1, L"TabSheet2"};
    ui::StaticText StaticText2{
        TabSheet1, L"StaticText2", {.bounds = {0, 4, 473, 153}, .font = &wizard_fonts::kWelcome}};
    ui::StaticText StaticText1{TabSheet2,
                               L"StaticText1",
                               {.bounds = {4, 4, 0, 0},
                                .text = L"Trwa wyszukiwanie zainstalowanych składników programu.",
                                .font = &wizard_fonts::kHeading,
                                .autoSize = true}};
    ui::Image Image2{Panel1, L"Image2", {.bounds = {132, 56, 48, 48}, .transparent = true, .picture = L"PACKAGE"}};
    ui::StaticText StaticText3{TabSheet2,
                               L"StaticText3",
                               {.bounds = {4, 28, 461, 101}, .text = L"Odnaleziono:", .font = &wizard_fonts::kReport}};
    ui::TabSheet TabSheet3{PageControl1, L"TabSheet3"};
    ui::StaticText StaticText6{TabSheet3, L"StaticText6", {.bounds = {4, 4, 461, 125}, .font = &wizard_fonts::kReport}};
    ui::Button BitBtn4{TabSheet3, L"BitBtn4", {.bounds = {384, 166, 75, 25}, .text = L"Zamknij.", .tabOrder = 0}};
    ui::Edit Edit1{
        TabSheet2, L"Edit1", {.bounds = {4, 132, 437, 21}, .visible = false, .enabled = false, .tabOrder = 0}};
    ui::Button BitBtn5{
        TabSheet2, L"BitBtn5", {.bounds = {442, 132, 25, 21}, .text = L"...", .visible = false, .tabOrder = 1}};
    ui::StaticText StaticText4{TabSheet3, L"StaticText4", {.bounds = {4, 136, 461, 17}, .text = L" "}};

    // Event handlers.
    void BitBtn3Click(ui::Control* Sender);
    void BitBtn2Click(ui::Control* Sender);
    void BitBtn1Click(ui::Control* Sender);
    void FormCreate(ui::Control* Sender);
    void BitBtn4Click(ui::Control* Sender);
    void TabSheet2Show(ui::Control* Sender);
    void BitBtn5Click(ui::Control* Sender);
    void TabSheet2Hide(ui::Control* Sender);
    void TabSheet3Show(ui::Control* Sender);

private:
    friend class WizardState;  // lets the tests read the state below

    void ProbeHost();
    // Appends pieces to a control's text: reads the whole text, adds, writes it back.
    static void Append(ui::Control& control, std::wstring_view piece);

    std::wstring HostLocation;
    bool HostFound = false;
    HMODULE HostLibrary = nullptr;  // set only while a probe runs
    bool NetworkEdition = false;
    host::ShortString OwnerName;
};

extern TForm1* Form1;
