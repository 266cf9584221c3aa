// A thin layer of controls over Win32 windows.
//
// Each control owns one window: the standard BUTTON, STATIC and EDIT classes for
// what the user sees and reads, and one window class of our own for the windows
// that only hold others (form, panel, page control, tab sheet). Containers
// receive their children's notifications and hand them to the child's object.
// Positions, sizes and fonts are given at 96 DPI and scaled to the window's DPI.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace ui {

class Container;
class Form;

struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
};

// An RGB colour, or one of the system's colours by its COLOR_ index.
struct Colour {
    COLORREF rgb = 0;
    int system = -1;

    static constexpr Colour fromRgb(BYTE r, BYTE g, BYTE b) { return {RGB(r, g, b), -1}; }
    static constexpr Colour fromSystem(int index) { return {0, index}; }
    COLORREF resolve() const { return system >= 0 ? GetSysColor(system) : rgb; }
};

inline constexpr Colour kButtonFace = Colour::fromSystem(COLOR_BTNFACE);
inline constexpr Colour kWindowText = Colour::fromSystem(COLOR_WINDOWTEXT);

// A font as a designer gives it: character height in pixels at 96 DPI, and its colour.
struct Font {
    const wchar_t* face = L"MS Sans Serif";
    int height = 11;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    BYTE charset = DEFAULT_CHARSET;
    Colour colour = kWindowText;
};

// What the designer sets on a control.
struct Settings {
    Bounds bounds;
    std::wstring_view text = {};
    const Font* font = nullptr;  // none: the parent's font
    bool visible = true;
    bool enabled = true;
    int tabOrder = -1;         // -1: not in the keyboard order
    bool autoSize = false;     // the size follows the text
    bool transparent = false;  // what lies behind shows through
    Colour background = kButtonFace;
    const wchar_t* picture = nullptr;  // bitmap resource of an image
};

using Event = std::function<void()>;

class Control {
public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    HWND handle() const { return window_; }
    const std::wstring& name() const { return name_; }
    Container* parent() const { return parent_; }
    Form& form() const;

    std::wstring text() const;
    void setText(std::wstring_view text);
    bool visible() const;
    void setVisible(bool visible);
    bool enabled() const;
    void setEnabled(bool enabled);
    const Bounds& bounds() const { return settings_.bounds; }
    const Font& font() const;
    int tabOrder() const { return settings_.tabOrder; }
    bool transparent() const { return settings_.transparent; }

    // Free for the program's own use; the layer never reads it.
    intptr_t tag = 0;

    // Places the window and sets its font for the form's current DPI.
    virtual void applyDpi();
    // Draws what the control shows, without background, at the given origin.
    virtual void paintContent(HDC, POINT) const {}
    // A notification that the parent received for this control.
    virtual LRESULT notify(UINT message, WPARAM wParam, LPARAM lParam);

protected:
    Control(Container* parent, std::wstring name, const Settings& settings);
    void createWindow(const wchar_t* windowClass, DWORD style, DWORD exStyle = 0);
    virtual void textChanged() {}
    RECT scaledBounds() const;

    Settings settings_;
    std::wstring text_;

private:
    friend class Container;
    void moveFocusAway();

    Container* parent_;
    std::wstring name_;
    HWND window_ = nullptr;
};

// A window of our own class that holds other controls.
class Container : public Control {
public:
    const std::vector<Control*>& children() const { return children_; }
    Colour background() const { return settings_.background; }
    void applyDpi() override;
    // Fills what lies behind `child`: this background and the siblings drawn before it.
    void paintBehind(const Control& child, HDC dc) const;

protected:
    Container(Container* parent, std::wstring name, const Settings& settings);
    void createContainer(DWORD style, DWORD exStyle);
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    virtual void paint(HDC dc, const RECT& client);
    // Stacks the children: keyboard order first, then later siblings over earlier ones.
    void arrange();

private:
    friend class Control;
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void adopt(Control& child) { children_.push_back(&child); }
    void release(Control& child);

    std::vector<Control*> children_;
};

class Panel : public Container {
public:
    Panel(Container& parent, std::wstring name, const Settings& settings);
};

// A control its parent draws: what lies behind it shows through where it draws
// nothing. Painted off-screen, then copied, so that it never flickers.
class GraphicControl : public Control {
public:
    LRESULT notify(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    using Control::Control;
};

// Text drawn on its parent's background; no keyboard focus.
class Label : public GraphicControl {
public:
    Label(Container& parent, std::wstring name, const Settings& settings);
    void paintContent(HDC dc, POINT origin) const override;

protected:
    void textChanged() override;
};

// A bitmap from the program's resources, scaled smoothly to the control's size;
// a transparent one leaves out the pixels that have the colour of its
// bottom-left pixel.
class Image : public GraphicControl {
public:
    Image(Container& parent, std::wstring name, const Settings& settings);
    void paintContent(HDC dc, POINT origin) const override;

private:
    int width_ = 0, height_ = 0;
    std::vector<uint32_t> pixels_;  // premultiplied BGRA, top row first
};

// Read-only text that wraps at word boundaries.
class StaticText : public Control {
public:
    StaticText(Container& parent, std::wstring name, const Settings& settings);
    LRESULT notify(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void textChanged() override;
};

class Edit : public Control {
public:
    Edit(Container& parent, std::wstring name, const Settings& settings);
};

class Button : public Control {
public:
    Button(Container& parent, std::wstring name, const Settings& settings);
    LRESULT notify(UINT message, WPARAM wParam, LPARAM lParam) override;
    Event onClick;
};

class PageControl;

class TabSheet : public Container {
public:
    TabSheet(PageControl& parent, std::wstring name);
    void applyDpi() override;
    Event onShow;
    Event onHide;
};

// Pages without tabs: only the program changes the current page.
class PageControl : public Container {
public:
    PageControl(Container& parent, std::wstring name, const Settings& settings);
    int pageCount() const { return static_cast<int>(pages_.size()); }
    int activePageIndex() const { return active_; }
    TabSheet* activePage() const { return active_ >= 0 ? pages_[static_cast<size_t>(active_)] : nullptr; }
    // Shows the new page and runs its show event, hides the old page and runs its
    // hide event, and only then records the new page as current. Events run only
    // while the form is shown; an exception from one is reported and the change goes on.
    void setActivePageIndex(int index);
    RECT pageBounds() const;

protected:
    void paint(HDC dc, const RECT& client) override;

private:
    friend class TabSheet;
    std::vector<TabSheet*> pages_;
    int active_ = -1;
};

class Form : public Container {
public:
    ~Form() override;
    void show();
    // Hides the form; closing the main form ends the application.
    void close();
    bool closed() const { return closed_; }
    bool showing() const;
    UINT dpi() const { return dpi_; }
    int scale(int pixels) const { return MulDiv(pixels, static_cast<int>(dpi_), 96); }
    HFONT fontHandle(const Font& font);
    HBRUSH brushHandle(COLORREF colour);
    void setActiveControl(Control& control) { activeControl_ = &control; }
    Control* controlOf(HWND window) const;
    Event onCreate;
    void applyDpi() override;

    // Called once the whole layout exists: stacks the controls and runs onCreate.
    void loaded();

protected:
    Form(std::wstring name, std::wstring_view caption, const Settings& settings);
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class Control;
    void layOut(const RECT* suggested);
    SIZE windowSize() const;

    int controlCount_ = 0;
    std::map<COLORREF, HBRUSH> brushes_;
    UINT dpi_ = 96;
    bool closed_ = false;
    bool shownOnce_ = false;
    Control* activeControl_ = nullptr;
    HWND savedFocus_ = nullptr;
    std::map<std::tuple<std::wstring, int, int, BYTE>, HFONT> fonts_;
};

// Runs a handler of the program; an exception that escapes it is reported in the
// application's error box and goes no further.
void fire(const Event& handler) noexcept;

}  // namespace ui
