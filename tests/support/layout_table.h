// Where the wizard's controls belong: the left, top, right and bottom edges in
// the client area of each one's parent, at 96 DPI, and the window's client size.
#pragma once

#include "tests/e2e/control_ids.h"

#include <windows.h>

namespace layout_table {

struct Placement {
    int id;
    const char* name;
    RECT at96;
};

inline constexpr SIZE kClientAt96{666, 206};

inline constexpr Placement kPlacements[] = {
    {e2e::Panel1, "Panel1", {0, 0, 185, 206}},
    {e2e::Panel2, "Panel2", {185, 0, 666, 206}},
    {e2e::Image1, "Image1", {8, 8, 40, 40}},
    {e2e::Image2, "Image2", {132, 56, 180, 104}},
    {e2e::BitBtn3, "BitBtn3", {16, 172, 91, 197}},
    {e2e::BitBtn1, "BitBtn1", {112, 172, 187, 197}},
    {e2e::BitBtn2, "BitBtn2", {204, 172, 279, 197}},
    {e2e::PageControl1, "PageControl1", {0, 0, 481, 206}},
    {e2e::StaticText2, "StaticText2", {0, 4, 473, 157}},
    {e2e::StaticText3, "StaticText3", {4, 28, 465, 129}},
    {e2e::Edit1, "Edit1", {4, 132, 441, 153}},
    {e2e::BitBtn5, "BitBtn5", {442, 132, 467, 153}},
    {e2e::StaticText6, "StaticText6", {4, 4, 465, 129}},
    {e2e::BitBtn4, "BitBtn4", {384, 166, 459, 191}},
    {e2e::StaticText4, "StaticText4", {4, 136, 465, 153}},
};

// The labels sized to their text, with where their top-left corner belongs.
inline constexpr Placement kLabels[] = {
    {e2e::Label1, "Label1", {54, 10, 0, 0}},  {e2e::Label2, "Label2", {52, 8, 0, 0}},
    {e2e::Label3, "Label3", {8, 72, 0, 0}},   {e2e::Label4, "Label4", {8, 124, 0, 0}},
    {e2e::Label5, "Label5", {8, 140, 0, 0}},  {e2e::Label6, "Label6", {10, 160, 0, 0}},
    {e2e::Label7, "Label7", {10, 180, 0, 0}},
};

inline int scaled(int pixels, int dpi) {
    return MulDiv(pixels, dpi, 96);
}

// A descendant of `top` by its control ID.
inline HWND controlById(HWND top, int id) {
    struct Search {
        int id;
        HWND found;
    } search{id, nullptr};
    EnumChildWindows(
        top,
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (GetDlgCtrlID(window) != s->id) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A control's rectangle in its parent's client area.
inline RECT rectInParent(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace layout_table
