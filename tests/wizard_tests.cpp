// The wizard window at start and the navigation between its pages.
#include "support/form_fixture.h"
#include "support/layout_table.h"
#include "support/wizard_texts.h"
#include "ui/text.h"

#include <string>
#include <vector>

namespace {

using wizard_texts::kWelcome;

struct Buttons {
    bool back, next, cancel;
    bool operator==(const Buttons&) const = default;
};

void PrintTo(const Buttons& b, std::ostream* os) {
    *os << "{back " << b.back << ", next " << b.next << ", cancel " << b.cancel << "}";
}

class StartTest : public WizardTest {};

TEST_F(StartTest, OpensOnTheWelcomePageWithTheFocusOnNext) {
    EXPECT_EQ(page(), 0);
    EXPECT_TRUE(form().TabSheet1.visible());
    EXPECT_FALSE(form().TabSheet2.visible());
    EXPECT_FALSE(form().TabSheet3.visible());
    EXPECT_FALSE(form().BitBtn1.enabled());
    EXPECT_TRUE(form().BitBtn2.enabled());
    EXPECT_TRUE(form().BitBtn3.enabled());
    // Programs of other tests share this desktop and may hold the activation for
    // a moment; the focus belongs to whichever window is active.
    for (int attempt = 0; attempt < 50 && GetForegroundWindow() != form().handle(); ++attempt) {
        SetForegroundWindow(form().handle());
        pumpMessages();
        if (GetForegroundWindow() != form().handle()) Sleep(20);
    }
    EXPECT_EQ(GetFocus(), form().BitBtn2.handle());
}

TEST_F(StartTest, WelcomeTextIsExactWithSingleCarriageReturns) {
    const std::wstring text = form().StaticText2.text();
    EXPECT_EQ(text, kWelcome);
    EXPECT_EQ(text.size(), 215u);
    EXPECT_EQ(text.find(L'\n'), std::wstring::npos);
}

TEST_F(StartTest, StateFieldsHoldTheirDefaults) {
    EXPECT_TRUE(WizardState::hostLocation(form()).empty());
    EXPECT_FALSE(WizardState::hostFound(form()));
    EXPECT_EQ(WizardState::hostLibrary(form()), nullptr);
    EXPECT_FALSE(WizardState::networkEdition(form()));
    EXPECT_EQ(WizardState::ownerName(form()).length(), 0u);
}

TEST_F(StartTest, WindowHasAFixedDialogFrameWithTheCloseBoxOnly) {
    wchar_t caption[128];
    GetWindowTextW(form().handle(), caption, 128);
    EXPECT_STREQ(caption, L"Nakładka dla programu \"Kalmeron\" D02I");
    EXPECT_EQ(ui::Application::instance().title(), L"Instalator");
    const LONG style = GetWindowLongW(form().handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_CAPTION);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
}

TEST_F(StartTest, WindowIsCentredOnTheScreen) {
    RECT window;
    GetWindowRect(form().handle(), &window);
    EXPECT_NEAR(window.left + window.right, GetSystemMetrics(SM_CXSCREEN), 1);
    EXPECT_NEAR(window.top + window.bottom, GetSystemMetrics(SM_CYSCREEN), 1);
}

void expectLayout(TForm1& f) {
    using namespace layout_table;
    const int dpi = static_cast<int>(f.dpi());
    for (const Placement& placement : kPlacements) {
        const HWND control = controlById(f.handle(), placement.id);
        ASSERT_TRUE(control) << placement.name;
        const RECT actual = rectInParent(control);
        EXPECT_EQ(actual.left, scaled(placement.at96.left, dpi)) << placement.name;
        EXPECT_EQ(actual.top, scaled(placement.at96.top, dpi)) << placement.name;
        EXPECT_EQ(actual.right, scaled(placement.at96.right, dpi)) << placement.name;
        EXPECT_EQ(actual.bottom, scaled(placement.at96.bottom, dpi)) << placement.name;
    }
    RECT client;
    GetClientRect(f.handle(), &client);
    EXPECT_EQ(client.right, scaled(kClientAt96.cx, dpi));
    EXPECT_EQ(client.bottom, scaled(kClientAt96.cy, dpi));
}

TEST_F(StartTest, ControlsSitWhereTheLayoutPutsThem) {
    expectLayout(form());
}

// Moved to a monitor of another DPI, the window lays itself out anew: places,
// sizes and fonts scaled from 96 DPI, the labels measured again.
TEST_F(StartTest, LaysItselfOutAgainAtAnotherDpi) {
    TForm1& f = form();
    const UINT original = f.dpi();
    RECT labelAt96;
    GetClientRect(f.Label3.handle(), &labelAt96);
    for (UINT dpi : {144u, 192u, original}) {
        RECT suggested{100, 50, 100 + MulDiv(700, static_cast<int>(dpi), 96),
                       50 + MulDiv(250, static_cast<int>(dpi), 96)};
        SendMessageW(f.handle(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        EXPECT_EQ(f.dpi(), dpi);
        expectLayout(f);
        RECT window;
        GetWindowRect(f.handle(), &window);
        EXPECT_EQ(window.left, 100);
        EXPECT_EQ(window.top, 50);
        RECT label;
        GetClientRect(f.Label3.handle(), &label);
        EXPECT_NEAR(label.right, MulDiv(labelAt96.right, static_cast<int>(dpi), static_cast<int>(original)),
                    3 * dpi / 96)
            << "label width at " << dpi;
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(f.StaticText3.handle(), WM_GETFONT, 0, 0)), sizeof font, &font);
        EXPECT_EQ(font.lfHeight, -MulDiv(13, static_cast<int>(dpi), 96));
    }
}

TEST_F(StartTest, KeyboardOrderIsBackNextCancelThenThePage) {
    TForm1& f = form();
    // Back is disabled at start and so left out; enable it to see the whole order.
    f.BitBtn1.setEnabled(true);
    std::vector<HWND> order;
    HWND first = GetNextDlgTabItem(f.handle(), nullptr, FALSE);
    for (HWND item = first; item;) {
        order.push_back(item);
        item = GetNextDlgTabItem(f.handle(), item, FALSE);
        if (item == first) break;
    }
    const std::vector<HWND> expected{f.BitBtn1.handle(), f.BitBtn2.handle(), f.BitBtn3.handle()};
    EXPECT_EQ(order, expected);
}

// Navigation alone: the pages' own work is replaced by events that record what
// the page control reports while they run.
class NavigationTest : public WizardTest {
protected:
    struct Seen {
        std::string event;
        int currentIndex;
        bool newPageVisible;
        bool oldPageVisible;
    };

    void SetUp() override {
        WizardTest::SetUp();
        TForm1& f = form();
        f.TabSheet2.onShow = [this, &f] { record("show 2", &f.TabSheet2, previous); };
        f.TabSheet2.onHide = [this, &f] { record("hide 2", nullptr, &f.TabSheet2); };
        f.TabSheet3.onShow = [this, &f] { record("show 3", &f.TabSheet3, previous); };
    }

    void record(std::string event, ui::TabSheet* shown, ui::TabSheet* hidden) {
        seen.push_back({std::move(event), page(), shown && shown->visible(), hidden && hidden->visible()});
    }

    Buttons buttons() { return {form().BitBtn1.enabled(), form().BitBtn2.enabled(), form().BitBtn3.enabled()}; }

    std::vector<Seen> seen;
    ui::TabSheet* previous = nullptr;
};

TEST_F(NavigationTest, NextShowsTheNewPageHidesTheOldThenRecordsTheNewIndex) {
    previous = &form().TabSheet1;
    click(form().BitBtn2);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].event, "show 2");
    EXPECT_EQ(seen[0].currentIndex, 0);  // still the old page
    EXPECT_TRUE(seen[0].newPageVisible);
    EXPECT_TRUE(seen[0].oldPageVisible);  // the old page goes only after the show event
    EXPECT_EQ(page(), 1);

    seen.clear();
    previous = &form().TabSheet2;
    click(form().BitBtn2);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].event, "show 3");
    EXPECT_EQ(seen[0].currentIndex, 1);
    EXPECT_TRUE(seen[0].oldPageVisible);
    EXPECT_EQ(seen[1].event, "hide 2");
    EXPECT_EQ(seen[1].currentIndex, 1);
    EXPECT_FALSE(seen[1].oldPageVisible);
    EXPECT_EQ(page(), 2);
}

TEST_F(NavigationTest, ButtonStatesFollowTheTable) {
    TForm1& f = form();
    struct Step {
        const char* what;
        ui::Button* press;
        int page;
        Buttons buttons;
    };
    const Step steps[] = {
        {"Next on page 1", &f.BitBtn2, 1, {true, true, true}},
        {"Back on page 2", &f.BitBtn1, 0, {false, true, true}},
        {"Next on page 1 again", &f.BitBtn2, 1, {true, true, true}},
        {"Next on page 2", &f.BitBtn2, 2, {true, false, false}},
        {"Back on page 3", &f.BitBtn1, 1, {true, true, true}},
    };
    for (const Step& step : steps) {
        click(*step.press);
        EXPECT_EQ(page(), step.page) << step.what;
        EXPECT_EQ(buttons(), step.buttons) << step.what;
        EXPECT_TRUE(f.PageControl1.activePage()->visible()) << step.what;
    }
}

TEST_F(NavigationTest, ShowEventHasTheLastWordOnTheButtonsItTouches) {
    TForm1& f = form();
    // As the installation page does: Back off when the run starts.
    f.TabSheet3.onShow = [&f] { f.BitBtn1.setEnabled(false); };
    // As the detection page does when the registry names no folder: Next off.
    f.TabSheet2.onShow = [&f] { f.BitBtn2.setEnabled(false); };
    click(f.BitBtn2);
    EXPECT_EQ(buttons(), (Buttons{true, false, true}));
    f.BitBtn1Click(&f.BitBtn1);  // Back enables Next before the page change
    EXPECT_EQ(buttons(), (Buttons{false, true, true}));
    f.BitBtn2Click(&f.BitBtn2);
    EXPECT_EQ(buttons(), (Buttons{true, false, true}));
    f.BitBtn2.setEnabled(true);
    f.BitBtn2Click(&f.BitBtn2);
    EXPECT_EQ(page(), 2);
    EXPECT_EQ(buttons(), (Buttons{false, false, false}));
}

TEST_F(NavigationTest, NextOnTheLastPageAndBackOnTheFirstKeepThePage) {
    TForm1& f = form();
    f.BitBtn1Click(&f.BitBtn1);
    EXPECT_EQ(page(), 0);
    EXPECT_EQ(buttons(), (Buttons{false, true, true}));
    EXPECT_TRUE(seen.empty());

    f.BitBtn2Click(&f.BitBtn2);
    f.BitBtn2Click(&f.BitBtn2);
    seen.clear();
    f.BitBtn2Click(&f.BitBtn2);  // only a direct call reaches it: the button is disabled
    EXPECT_EQ(page(), 2);
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(buttons(), (Buttons{true, false, false}));
}

TEST_F(NavigationTest, ExceptionInAShowEventIsReportedAndThePageChangeCompletes) {
    TForm1& f = form();
    f.TabSheet2.onShow = [] { throw std::runtime_error("Invalid data type for 'Lokalizacja'"); };
    click(f.BitBtn2);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].caption, L"Instalator");
    EXPECT_EQ(dialogs.boxes[0].text, L"Invalid data type for 'Lokalizacja'");
    EXPECT_EQ(dialogs.boxes[0].icon, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(page(), 1);
    EXPECT_TRUE(f.TabSheet2.visible());
    EXPECT_FALSE(f.TabSheet1.visible());
    EXPECT_EQ(buttons(), (Buttons{true, true, true}));
}

TEST_F(NavigationTest, ControlTabLeavesThePageOnEveryPage) {
    TForm1& f = form();
    for (int target = 0; target < 3; ++target) {
        while (page() < target)
            click(f.BitBtn2);
        for (bool shift : {false, true}) {
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            keys[VK_CONTROL] = 0x80;
            keys[VK_SHIFT] = shift ? 0x80 : 0;
            SetKeyboardState(keys);
            HWND focus = GetFocus() ? GetFocus() : f.BitBtn2.handle();
            MSG message{focus, WM_KEYDOWN, VK_TAB, 0, 0, {}};
            if (!IsDialogMessageW(f.handle(), &message)) DispatchMessageW(&message);
            keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
            SetKeyboardState(keys);
            EXPECT_EQ(page(), target) << "shift " << shift;
        }
    }
}

TEST_F(NavigationTest, CancelAndCloseCloseTheMainForm) {
    TForm1& f = form();
    click(f.BitBtn3);
    EXPECT_TRUE(f.closed());
    EXPECT_TRUE(ui::Application::instance().terminated());
    EXPECT_FALSE(IsWindowVisible(f.handle()));
}

TEST_F(NavigationTest, CloseOnTheLastPageClosesTheMainForm) {
    TForm1& f = form();
    click(f.BitBtn2);
    click(f.BitBtn2);
    click(f.BitBtn4);
    EXPECT_TRUE(f.closed());
    EXPECT_TRUE(ui::Application::instance().terminated());
}

TEST_F(NavigationTest, CloseBoxClosesTheFormOnEveryPage) {
    for (int target = 0; target < 3; ++target) {
        TearDown();
        SetUp();
        while (page() < target)
            click(form().BitBtn2);
        SendMessageW(form().handle(), WM_CLOSE, 0, 0);
        EXPECT_TRUE(form().closed()) << "page " << target;
        EXPECT_TRUE(dialogs.boxes.empty());
    }
}

}  // namespace
