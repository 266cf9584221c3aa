// The real exe on a screen of the DPI the prefix is set to (INSTALATOR_DPI):
// every place and size scaled from 96 DPI, the pictures with them, the labels
// inside the sidebar, the window inside the screen's reach.
#include "driver.h"
#include "tests/support/layout_table.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

using namespace e2e;
using namespace layout_table;

TEST(EndToEndDpi, LayoutScalesWithTheScreen) {
    const char* setting = std::getenv("INSTALATOR_DPI");
    if (!setting) GTEST_SKIP() << "run through CTest, which sets INSTALATOR_DPI and a prefix of that DPI";
    const int dpi = std::atoi(setting);
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSY), dpi) << "the prefix is not set to this DPI";
    ReleaseDC(nullptr, screen);

    Wizard wizard(windowsPath(E2E_INSTALATOR));
    const HWND window = wizard.window();
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, scaled(kClientAt96.cx, dpi));
    EXPECT_EQ(client.bottom, scaled(kClientAt96.cy, dpi));

    for (const Placement& placement : kPlacements) {
        const RECT actual = rectInParent(wizard.control(placement.id));
        EXPECT_EQ(actual.left, scaled(placement.at96.left, dpi)) << placement.name;
        EXPECT_EQ(actual.top, scaled(placement.at96.top, dpi)) << placement.name;
        EXPECT_EQ(actual.right, scaled(placement.at96.right, dpi)) << placement.name;
        EXPECT_EQ(actual.bottom, scaled(placement.at96.bottom, dpi)) << placement.name;
    }
    // Sized to their text in a font of the screen's DPI, and never cut off by the sidebar's edge.
    const RECT sidebar = rectInParent(wizard.control(Panel1));
    for (const Placement& label : kLabels) {
        const RECT actual = rectInParent(wizard.control(label.id));
        EXPECT_EQ(actual.left, scaled(label.at96.left, dpi)) << label.name;
        EXPECT_EQ(actual.top, scaled(label.at96.top, dpi)) << label.name;
        EXPECT_GE(actual.bottom - actual.top, scaled(11, dpi)) << label.name;
        EXPECT_LE(actual.right, sidebar.right - sidebar.left) << label.name;
    }
    // The shadow lies 2 pixels at 96 DPI to the right of and below the title.
    const RECT shadow = rectInParent(wizard.control(Label1)), title = rectInParent(wizard.control(Label2));
    EXPECT_EQ(shadow.left - title.left, scaled(54, dpi) - scaled(52, dpi));
    EXPECT_EQ(shadow.top - title.top, scaled(10, dpi) - scaled(8, dpi));

    wizard.post(WM_CLOSE);
    EXPECT_EQ(wizard.exitCode(), 0u);
}

}  // namespace
