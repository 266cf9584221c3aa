// The driver finds the wizard's controls by their IDs: pin them to the components.
#include "control_ids.h"
#include "tests/support/form_fixture.h"
#include "ui/text.h"

#include <utility>

namespace {

BOOL CALLBACK countWindow(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

class ControlIds : public WizardTest {};

TEST_F(ControlIds, FollowTheOrderInWhichTheFormDeclaresItsComponents) {
    TForm1& f = form();
    const std::pair<ui::Control*, e2e::Component> components[] = {
        {&f.Panel1, e2e::Panel1},           {&f.Panel2, e2e::Panel2},
        {&f.BitBtn1, e2e::BitBtn1},         {&f.BitBtn2, e2e::BitBtn2},
        {&f.BitBtn3, e2e::BitBtn3},         {&f.Image1, e2e::Image1},
        {&f.Label1, e2e::Label1},           {&f.Label2, e2e::Label2},
        {&f.Label3, e2e::Label3},           {&f.Label4, e2e::Label4},
        {&f.Label5, e2e::Label5},           {&f.Label6, e2e::Label6},
        {&f.Label7, e2e::Label7},           {&f.PageControl1, e2e::PageControl1},
        {&f.TabSheet1, e2e::TabSheet1},     {&f.TabSheet2, e2e::TabSheet2},
        {&f.StaticText2, e2e::StaticText2}, {&f.StaticText1, e2e::StaticText1},
        {&f.Image2, e2e::Image2},           {&f.StaticText3, e2e::StaticText3},
        {&f.TabSheet3, e2e::TabSheet3},     {&f.StaticText6, e2e::StaticText6},
        {&f.BitBtn4, e2e::BitBtn4},         {&f.Edit1, e2e::Edit1},
        {&f.BitBtn5, e2e::BitBtn5},         {&f.StaticText4, e2e::StaticText4},
    };
    for (const auto& [control, id] : components)
        EXPECT_EQ(GetDlgCtrlID(control->handle()), id) << ui::narrow(control->name());
    // Every child window of the form is one of these: nothing else takes a number.
    int windows = 0;
    EnumChildWindows(f.handle(), &countWindow, reinterpret_cast<LPARAM>(&windows));
    EXPECT_EQ(windows, static_cast<int>(std::size(components)));
}

}  // namespace
