#include "controls.h"

#include "application.h"
#include "error.h"
#include "system.h"

#include <algorithm>
#include <cmath>

namespace ui {

namespace {

constexpr wchar_t kContainerClass[] = L"InstalatorContainer";
constexpr int kFirstControlId = 1000;
constexpr int kPageInset = 4;  // the page control's frame around its pages

HINSTANCE moduleInstance() {
    return GetModuleHandleW(nullptr);
}

// Per-monitor DPI functions exist from Windows 10 on; older systems have one DPI.
UINT windowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = systemFunction<GetDpiForWindowFn>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window)) return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

void adjustWindowRect(RECT& rect, DWORD style, DWORD exStyle, UINT dpi) {
    using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = systemFunction<AdjustForDpiFn>(L"user32.dll", "AdjustWindowRectExForDpi");
    if (adjustForDpi && adjustForDpi(&rect, style, FALSE, exStyle, dpi)) return;
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
}

RECT rectIn(HWND window, HWND parent) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

SIZE measure(HDC dc, const std::wstring& text, UINT flags) {
    RECT rect{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags | DT_CALCRECT | DT_NOPREFIX);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

// ---------------------------------------------------------------- Control

Control::Control(Container* parent, std::wstring name, const Settings& settings)
    : settings_(settings), text_(settings.text), parent_(parent), name_(std::move(name)) {
    if (parent_) parent_->adopt(*this);
}

Control::~Control() {
    if (window_ && IsWindow(window_)) DestroyWindow(window_);
    if (parent_) parent_->release(*this);
}

Form& Control::form() const {
    const Control* control = this;
    while (control->parent_)
        control = control->parent_;
    return *static_cast<Form*>(const_cast<Control*>(control));
}

void Control::createWindow(const wchar_t* windowClass, DWORD style, DWORD exStyle) {
    style |= WS_CLIPSIBLINGS;
    if (settings_.visible) style |= WS_VISIBLE;
    if (!settings_.enabled) style |= WS_DISABLED;
    HWND parentWindow = parent_ ? parent_->handle() : nullptr;
    HMENU id = nullptr;
    if (parent_) {
        style |= WS_CHILD;
        id = reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + form().controlCount_++));
    }
    // Made where it belongs, with its font: nothing moves or repaints at start-up.
    const RECT rect = parent_ ? scaledBounds() : RECT{};
    window_ = check(CreateWindowExW(exStyle, windowClass, text_.c_str(), style, rect.left, rect.top,
                                    rect.right - rect.left, rect.bottom - rect.top, parentWindow, id, moduleInstance(),
                                    windowClass == kContainerClass ? this : nullptr),
                    "CreateWindowExW");
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    if (parent_) SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(form().fontHandle(font())), FALSE);
}

const Font& Control::font() const {
    if (settings_.font) return *settings_.font;
    return parent_->font();
}

RECT Control::scaledBounds() const {
    const Form& owner = form();
    const Bounds& b = settings_.bounds;
    RECT rect{owner.scale(b.left), owner.scale(b.top), owner.scale(b.left + b.width), owner.scale(b.top + b.height)};
    if (settings_.autoSize) {
        HDC dc = GetDC(nullptr);
        HGDIOBJ old = SelectObject(dc, const_cast<Form&>(owner).fontHandle(font()));
        const SIZE size = measure(dc, text_, 0);
        SelectObject(dc, old);
        ReleaseDC(nullptr, dc);
        rect.right = rect.left + size.cx;
        rect.bottom = rect.top + size.cy;
    }
    return rect;
}

void Control::applyDpi() {
    if (!parent_) return;
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(form().fontHandle(font())), FALSE);
    const RECT rect = scaledBounds();
    SetWindowPos(window_, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window_, nullptr, TRUE);
}

std::wstring Control::text() const {
    std::wstring result(static_cast<size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
    result.resize(static_cast<size_t>(GetWindowTextW(window_, result.data(), static_cast<int>(result.size()))));
    return result;
}

void Control::setText(std::wstring_view text) {
    text_.assign(text);
    check(SetWindowTextW(window_, text_.c_str()), "SetWindowTextW");
    textChanged();
}

bool Control::visible() const {
    return (GetWindowLongW(window_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Control::setVisible(bool visible) {
    if (visible == this->visible()) return;
    if (!visible) moveFocusAway();
    ShowWindow(window_, visible ? SW_SHOWNA : SW_HIDE);
}

bool Control::enabled() const {
    return IsWindowEnabled(window_) != FALSE;
}

void Control::setEnabled(bool enabled) {
    if (enabled == this->enabled()) return;
    if (!enabled) moveFocusAway();
    EnableWindow(window_, enabled);
}

// A control that goes away must not take the keyboard focus with it.
void Control::moveFocusAway() {
    HWND focus = GetFocus();
    if (!focus || (focus != window_ && !IsChild(window_, focus))) return;
    HWND top = form().handle();
    for (HWND next = GetNextDlgTabItem(top, focus, FALSE); next && next != focus;
         next = GetNextDlgTabItem(top, next, FALSE)) {
        if (next != window_ && !IsChild(window_, next) && IsWindowEnabled(next) && IsWindowVisible(next)) {
            SetFocus(next);
            return;
        }
    }
    SetFocus(top);
}

LRESULT Control::notify(UINT, WPARAM, LPARAM) {
    return 0;
}

// ---------------------------------------------------------------- Container

Container::Container(Container* parent, std::wstring name, const Settings& settings)
    : Control(parent, std::move(name), settings) {}

void Container::createContainer(DWORD style, DWORD exStyle) {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = &Container::windowProc;
        windowClass.hInstance = moduleInstance();
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<const wchar_t*>(IDC_ARROW));
        windowClass.lpszClassName = kContainerClass;
        check(RegisterClassExW(&windowClass), "RegisterClassExW");
        return true;
    }();
    (void)registered;
    createWindow(kContainerClass, style | WS_CLIPCHILDREN, exStyle | WS_EX_CONTROLPARENT);
}

void Container::release(Control& child) {
    std::erase(children_, &child);
}

void Container::arrange() {
    std::vector<Control*> order;
    for (Control* child : children_)
        if (child->tabOrder() >= 0) order.push_back(child);
    std::stable_sort(order.begin(), order.end(),
                     [](const Control* a, const Control* b) { return a->tabOrder() < b->tabOrder(); });
    for (auto it = children_.rbegin(); it != children_.rend(); ++it)
        if ((*it)->tabOrder() < 0) order.push_back(*it);
    HWND after = HWND_TOP;
    for (Control* child : order) {
        SetWindowPos(child->handle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = child->handle();
        if (auto* container = dynamic_cast<Container*>(child)) container->arrange();
    }
}

void Container::applyDpi() {
    Control::applyDpi();
    for (Control* child : children_)
        child->applyDpi();
}

void Container::paintBehind(const Control& child, HDC dc) const {
    const RECT own = rectIn(child.handle(), handle());
    RECT area{0, 0, own.right - own.left, own.bottom - own.top};
    HBRUSH brush = CreateSolidBrush(background().resolve());
    FillRect(dc, &area, brush);
    DeleteObject(brush);
    if (!child.transparent()) return;
    for (const Control* sibling : children_) {
        if (sibling == &child) break;
        if (!sibling->visible()) continue;
        const RECT other = rectIn(sibling->handle(), handle());
        RECT overlap;
        if (IntersectRect(&overlap, &own, &other))
            sibling->paintContent(dc, POINT{other.left - own.left, other.top - own.top});
    }
}

void Container::paint(HDC, const RECT&) {}

LRESULT Container::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(handle(), &client);
            HBRUSH brush = CreateSolidBrush(background().resolve());
            FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
            DeleteObject(brush);
            return 1;
        }
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(handle(), &ps);
            RECT client;
            GetClientRect(handle(), &client);
            paint(dc, client);
            EndPaint(handle(), &ps);
            return 0;
        }
        case WM_COMMAND:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
            if (Control* child = form().controlOf(reinterpret_cast<HWND>(lParam)))
                return child->notify(message, wParam, lParam);
            break;
        case WM_DRAWITEM:
            if (Control* child = form().controlOf(reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem))
                return child->notify(message, wParam, lParam);
            break;
        default:
            break;
    }
    return DefWindowProcW(handle(), message, wParam, lParam);
}

LRESULT CALLBACK Container::windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Control* control = nullptr;
    if (message == WM_NCCREATE) {
        control = static_cast<Control*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        control->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
    } else {
        control = reinterpret_cast<Control*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (!control) return DefWindowProcW(window, message, wParam, lParam);
    // No exception may cross into Windows: report it here as a last resort.
    try {
        return static_cast<Container*>(control)->handleMessage(message, wParam, lParam);
    } catch (...) {
        Application::instance().showException(std::current_exception());
        return 0;
    }
}

// ---------------------------------------------------------------- Panel

Panel::Panel(Container& parent, std::wstring name, const Settings& settings)
    : Container(&parent, std::move(name), settings) {
    createContainer(0, 0);
}

// ---------------------------------------------------------------- GraphicControl

LRESULT GraphicControl::notify(UINT message, WPARAM, LPARAM lParam) {
    if (message != WM_DRAWITEM) return 0;
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const int width = item.rcItem.right - item.rcItem.left, height = item.rcItem.bottom - item.rcItem.top;
    HDC buffer = CreateCompatibleDC(item.hDC);
    HBITMAP surface = CreateCompatibleBitmap(item.hDC, width, height);
    HGDIOBJ old = SelectObject(buffer, surface);
    parent()->paintBehind(*this, buffer);
    paintContent(buffer, POINT{0, 0});
    BitBlt(item.hDC, item.rcItem.left, item.rcItem.top, width, height, buffer, 0, 0, SRCCOPY);
    SelectObject(buffer, old);
    DeleteObject(surface);
    DeleteDC(buffer);
    return TRUE;
}

// ---------------------------------------------------------------- Label

Label::Label(Container& parent, std::wstring name, const Settings& settings)
    : GraphicControl(&parent, std::move(name), settings) {
    settings_.autoSize = true;
    createWindow(L"STATIC", SS_OWNERDRAW | SS_NOPREFIX);
}

void Label::paintContent(HDC dc, POINT origin) const {
    const Font& f = font();
    HGDIOBJ old = SelectObject(dc, form().fontHandle(f));
    SetTextColor(dc, f.colour.resolve());
    SetBkMode(dc, TRANSPARENT);
    RECT client;
    GetClientRect(handle(), &client);
    OffsetRect(&client, origin.x, origin.y);
    const std::wstring content = text();
    DrawTextW(dc, content.c_str(), static_cast<int>(content.size()), &client, DT_LEFT | DT_TOP | DT_NOPREFIX);
    SelectObject(dc, old);
}

void Label::textChanged() {
    applyDpi();
}

// ---------------------------------------------------------------- Image

namespace {

// 32-bit pixels of a device-independent section, top row first.
struct PixelBuffer {
    PixelBuffer(HDC reference, int width, int height) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        bitmap = check(CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0), "CreateDIBSection");
        pixels = static_cast<uint32_t*>(bits);
        dc = CreateCompatibleDC(reference);
        old = SelectObject(dc, bitmap);
    }
    ~PixelBuffer() {
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
    PixelBuffer(const PixelBuffer&) = delete;
    PixelBuffer& operator=(const PixelBuffer&) = delete;

    HBITMAP bitmap;
    uint32_t* pixels;
    HDC dc;
    HGDIOBJ old;
};

uint32_t channel(uint32_t pixel, int shift) {
    return (pixel >> shift) & 0xFFu;
}

}  // namespace

Image::Image(Container& parent, std::wstring name, const Settings& settings)
    : GraphicControl(&parent, std::move(name), settings) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        check(LoadImageW(moduleInstance(), settings.picture, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION), "LoadImageW"));
    BITMAP info;
    GetObjectW(bitmap, sizeof info, &info);
    width_ = info.bmWidth;
    height_ = info.bmHeight;
    pixels_.resize(static_cast<size_t>(width_) * static_cast<size_t>(height_));
    BITMAPINFO format{};
    format.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, static_cast<UINT>(height_), pixels_.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    const uint32_t key = pixels_[static_cast<size_t>(height_ - 1) * static_cast<size_t>(width_)] & 0xFFFFFFu;
    for (uint32_t& pixel : pixels_) {
        pixel &= 0xFFFFFFu;
        pixel = transparent() && pixel == key ? 0u : pixel | 0xFF000000u;
    }
    createWindow(L"STATIC", SS_OWNERDRAW);
}

// Bilinear scaling of premultiplied pixels, blended over what the DC holds. At
// the picture's own size every pixel comes through unchanged.
void Image::paintContent(HDC dc, POINT origin) const {
    RECT client;
    GetClientRect(handle(), &client);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0 || pixels_.empty()) return;
    PixelBuffer target(dc, width, height);
    BitBlt(target.dc, 0, 0, width, height, dc, origin.x, origin.y, SRCCOPY);
    auto source = [this](int x, int y) {
        x = std::clamp(x, 0, width_ - 1);
        y = std::clamp(y, 0, height_ - 1);
        return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
    };
    for (int y = 0; y < height; ++y) {
        const double sy = (y + 0.5) * height_ / height - 0.5;
        const int y0 = static_cast<int>(std::floor(sy));
        const double fy = sy - y0;
        for (int x = 0; x < width; ++x) {
            const double sx = (x + 0.5) * width_ / width - 0.5;
            const int x0 = static_cast<int>(std::floor(sx));
            const double fx = sx - x0;
            const uint32_t p00 = source(x0, y0), p10 = source(x0 + 1, y0), p01 = source(x0, y0 + 1),
                           p11 = source(x0 + 1, y0 + 1);
            uint32_t& out = target.pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
            double mixed[4];
            for (int c = 0; c < 4; ++c) {
                const int shift = c * 8;
                mixed[c] = (channel(p00, shift) * (1 - fx) + channel(p10, shift) * fx) * (1 - fy) +
                           (channel(p01, shift) * (1 - fx) + channel(p11, shift) * fx) * fy;
            }
            const double cover = mixed[3] / 255.0;
            uint32_t result = 0;
            for (int c = 0; c < 3; ++c) {
                const double value = mixed[c] + channel(out, c * 8) * (1 - cover);
                result |= static_cast<uint32_t>(std::lround(std::clamp(value, 0.0, 255.0))) << (c * 8);
            }
            out = result;
        }
    }
    BitBlt(dc, origin.x, origin.y, width, height, target.dc, 0, 0, SRCCOPY);
}

// ---------------------------------------------------------------- StaticText

StaticText::StaticText(Container& parent, std::wstring name, const Settings& settings)
    : Control(&parent, std::move(name), settings) {
    createWindow(L"STATIC", SS_LEFT | SS_NOPREFIX);
}

LRESULT StaticText::notify(UINT message, WPARAM wParam, LPARAM) {
    if (message != WM_CTLCOLORSTATIC) return 0;
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, font().colour.resolve());
    SetBkColor(dc, parent()->background().resolve());
    return reinterpret_cast<LRESULT>(parent()->background().system >= 0
                                         ? GetSysColorBrush(parent()->background().system)
                                         : form().brushHandle(parent()->background().rgb));
}

void StaticText::textChanged() {
    if (settings_.autoSize) applyDpi();
}

// ---------------------------------------------------------------- Edit

Edit::Edit(Container& parent, std::wstring name, const Settings& settings)
    : Control(&parent, std::move(name), settings) {
    createWindow(L"EDIT", ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE);
}

// ---------------------------------------------------------------- Button

Button::Button(Container& parent, std::wstring name, const Settings& settings)
    : Control(&parent, std::move(name), settings) {
    createWindow(L"BUTTON", BS_PUSHBUTTON | WS_TABSTOP);
}

LRESULT Button::notify(UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) fire(onClick);
    return 0;
}

// ---------------------------------------------------------------- Pages

TabSheet::TabSheet(PageControl& parent, std::wstring name)
    : Container(&parent, std::move(name), Settings{.visible = false, .background = parent.background()}) {
    parent.pages_.push_back(this);
    createContainer(0, 0);
    TabSheet::applyDpi();  // its place is the page control's, not its own
}

void TabSheet::applyDpi() {
    const RECT rect = static_cast<PageControl*>(parent())->pageBounds();
    SendMessageW(handle(), WM_SETFONT, reinterpret_cast<WPARAM>(form().fontHandle(font())), FALSE);
    SetWindowPos(handle(), nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    for (Control* child : children())
        child->applyDpi();
}

PageControl::PageControl(Container& parent, std::wstring name, const Settings& settings)
    : Container(&parent, std::move(name), settings) {
    createContainer(0, 0);
}

RECT PageControl::pageBounds() const {
    RECT client;
    GetClientRect(handle(), &client);
    const int inset = form().scale(kPageInset);
    InflateRect(&client, -inset, -inset);
    return client;
}

void PageControl::paint(HDC dc, const RECT& client) {
    RECT frame = client;
    DrawEdge(dc, &frame, EDGE_RAISED, BF_RECT);
}

void PageControl::setActivePageIndex(int index) {
    if (index == active_) return;
    TabSheet* next = index >= 0 && index < pageCount() ? pages_[static_cast<size_t>(index)] : nullptr;
    TabSheet* previous = activePage();
    const bool events = form().showing();
    if (next) {
        SetWindowPos(next->handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        next->setVisible(true);
        if (events) fire(next->onShow);
    }
    if (previous) {
        previous->setVisible(false);
        if (events) fire(previous->onHide);
    }
    active_ = next ? index : -1;
}

// ---------------------------------------------------------------- Form

Form::Form(std::wstring name, std::wstring_view caption, const Settings& settings)
    : Container(nullptr, std::move(name), settings) {
    text_.assign(caption);
    settings_.visible = false;
    createContainer(WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, WS_EX_DLGMODALFRAME);
    dpi_ = windowDpi(handle());
    layOut(nullptr);
    if (HICON icon = LoadIconW(moduleInstance(), MAKEINTRESOURCEW(1))) {
        SendMessageW(handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }
}

Form::~Form() {
    for (auto& [key, font] : fonts_)
        DeleteObject(font);
    for (auto& [colour, brush] : brushes_)
        DeleteObject(brush);
}

void Form::loaded() {
    arrange();
    fire(onCreate);
}

bool Form::showing() const {
    return IsWindowVisible(handle()) != FALSE;
}

void Form::show() {
    if (!shownOnce_) {
        shownOnce_ = true;
        RECT window;
        GetWindowRect(handle(), &window);
        const int width = window.right - window.left, height = window.bottom - window.top;
        SetWindowPos(handle(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ShowWindow(handle(), SW_SHOW);
    UpdateWindow(handle());
    if (activeControl_ && activeControl_->enabled()) SetFocus(activeControl_->handle());
}

void Form::close() {
    closed_ = true;
    ShowWindow(handle(), SW_HIDE);
    Application& application = Application::instance();
    if (application.mainForm() == this) application.terminate();
}

HFONT Form::fontHandle(const Font& font) {
    const int height = scale(font.height);
    const int style = (font.bold ? 1 : 0) | (font.italic ? 2 : 0) | (font.underline ? 4 : 0);
    auto key = std::make_tuple(std::wstring(font.face), height, style, font.charset);
    auto found = fonts_.find(key);
    if (found != fonts_.end()) return found->second;
    HFONT handle = check(
        CreateFontW(-height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic, font.underline, FALSE, font.charset,
                    OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font.face),
        "CreateFontW");
    fonts_.emplace(std::move(key), handle);
    return handle;
}

HBRUSH Form::brushHandle(COLORREF colour) {
    auto found = brushes_.find(colour);
    if (found != brushes_.end()) return found->second;
    HBRUSH brush = check(CreateSolidBrush(colour), "CreateSolidBrush");
    brushes_.emplace(colour, brush);
    return brush;
}

Control* Form::controlOf(HWND window) const {
    if (!window || (window != handle() && !IsChild(handle(), window))) return nullptr;
    return reinterpret_cast<Control*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Form::applyDpi() {
    layOut(nullptr);
}

SIZE Form::windowSize() const {
    const DWORD style = static_cast<DWORD>(GetWindowLongW(handle(), GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongW(handle(), GWL_EXSTYLE));
    RECT rect{0, 0, scale(bounds().width), scale(bounds().height)};
    adjustWindowRect(rect, style, exStyle, dpi_);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void Form::layOut(const RECT* suggested) {
    SIZE size = windowSize();
    const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE);
    const POINT at = suggested ? POINT{suggested->left, suggested->top} : POINT{0, 0};
    SetWindowPos(handle(), nullptr, at.x, at.y, size.cx, size.cy, flags);
    // Where the frame did not follow the new DPI, the client area still must.
    RECT client;
    GetClientRect(handle(), &client);
    const int wrongWidth = scale(bounds().width) - client.right, wrongHeight = scale(bounds().height) - client.bottom;
    if (wrongWidth || wrongHeight) {
        size.cx += wrongWidth;
        size.cy += wrongHeight;
        SetWindowPos(handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageW(handle(), WM_SETFONT, reinterpret_cast<WPARAM>(fontHandle(font())), FALSE);
    for (Control* child : children())
        child->applyDpi();
}

LRESULT Form::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CLOSE:
            fire([this] { close(); });
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(handle(), focus)) savedFocus_ = focus;
            } else {
                HWND target = savedFocus_ && IsWindow(savedFocus_) ? savedFocus_
                              : activeControl_                     ? activeControl_->handle()
                                                                   : nullptr;
                if (target && IsWindowEnabled(target) && IsWindowVisible(target)) SetFocus(target);
            }
            return 0;
        case DM_GETDEFID: {
            // Enter presses the button that has the focus; there is no default button.
            HWND focus = GetFocus();
            if (focus && IsChild(handle(), focus) && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_UNDEFPUSHBUTTON))
                return MAKELRESULT(GetDlgCtrlID(focus), DC_HASDEFID);
            return 0;
        }
        case WM_GETMINMAXINFO: {
            // The window keeps its designed size even where the screen is smaller.
            auto& limits = *reinterpret_cast<MINMAXINFO*>(lParam);
            const SIZE size = windowSize();
            limits.ptMaxTrackSize.x = std::max(limits.ptMaxTrackSize.x, 2 * size.cx);
            limits.ptMaxTrackSize.y = std::max(limits.ptMaxTrackSize.y, 2 * size.cy);
            return 0;
        }
        case 0x02E0: {  // WM_DPICHANGED
            dpi_ = HIWORD(wParam);
            layOut(reinterpret_cast<const RECT*>(lParam));
            return 0;
        }
        default:
            break;
    }
    return Container::handleMessage(message, wParam, lParam);
}

// ---------------------------------------------------------------- events

void fire(const Event& handler) noexcept {
    if (!handler) return;
    try {
        handler();
    } catch (...) {
        Application::instance().showException(std::current_exception());
    }
}

}  // namespace ui
