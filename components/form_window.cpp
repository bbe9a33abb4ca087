#include "form.h"

#include "application.h"
#include "menu.h"
#include "win_control.h"

#include "base/startup_phases.h"

#include <algorithm>
#include <climits>

namespace {

constexpr char windowClassName[] = "TFormWindow";
constexpr int firstCommandId = 100;

ATOM registerWindowClass(WNDPROC proc) {
    static const ATOM atom = [proc] {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = windowClassName;
        return RegisterClassExA(&wc);
    }();
    return atom;
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

// The resolution of the monitor the window is on, where the system tells it per
// monitor (Windows 10 1607 on); the screen's elsewhere.
int windowDpi(HWND window) {
    using GetDpiForWindow = UINT(WINAPI*)(HWND);
    static const auto getDpi = reinterpret_cast<GetDpiForWindow>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    UINT dpi = getDpi ? getDpi(window) : 0;
    return dpi > 0 ? static_cast<int>(dpi) : screenDpi();
}

struct WindowStyle {
    DWORD style;
    DWORD exStyle;
};

WindowStyle windowStyle(TFormBorderStyle border, unsigned icons) {
    DWORD style = WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    bool systemMenu = icons & biSystemMenu;
    switch (border) {
    case bsNone:
        style |= WS_POPUP;
        break;
    case bsSingle:
    case bsSizeable:
        style |= WS_CAPTION | (border == bsSizeable ? WS_THICKFRAME : WS_BORDER);
        if (systemMenu) {
            style |= WS_SYSMENU;
            if (icons & biMinimize)
                style |= WS_MINIMIZEBOX;
            if (icons & biMaximize)
                style |= WS_MAXIMIZEBOX;
        }
        break;
    case bsDialog:
        style |= WS_CAPTION | WS_POPUP;
        exStyle |= WS_EX_DLGMODALFRAME;
        if (systemMenu)
            style |= WS_SYSMENU;
        break;
    }
    return {style, exStyle};
}

} // namespace

void TForm::prepare() {
    dpi_ = screenDpi();
    Font.OnChange = [this] {
        for (TControl* control : controls_)
            control->parentFontChanged(Font);
    };
}

HWND TForm::Handle() {
    if (!handle_ && !creatingWindow_)
        createWindow();
    return handle_.get();
}

std::vector<TWinControl*> TForm::windowedInTabOrder() const {
    std::vector<TWinControl*> windowed;
    for (TControl* control : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(control))
            windowed.push_back(w);
    std::stable_sort(windowed.begin(), windowed.end(), [](TWinControl* a, TWinControl* b) {
        auto order = [](TWinControl* c) { return c->TabOrder < 0 ? INT_MAX : c->TabOrder; };
        return order(a) < order(b);
    });
    return windowed;
}

void TForm::createWindow() {
    struct Creating {
        bool& flag;
        explicit Creating(bool& f) : flag(f) { flag = true; }
        ~Creating() { flag = false; }
    } creating(creatingWindow_);
    WindowStyle ws = windowStyle(BorderStyle, BorderIcons);
    RECT frame{0, 0, scale(ClientWidth), scale(ClientHeight)};
    AdjustWindowRectEx(&frame, ws.style, menu_ != nullptr, ws.exStyle);

    TForm* mainForm = Application->MainForm();
    HWND owner = mainForm && mainForm != this ? mainForm->Handle() : nullptr;
    HWND window =
        CreateWindowExA(ws.exStyle, MAKEINTATOM(registerWindowClass(windowProc)), caption_.c_str(),
                        ws.style, scale(Left), scale(Top), frame.right - frame.left,
                        frame.bottom - frame.top, owner, nullptr, GetModuleHandleA(nullptr), this);
    if (!window)
        throw Exception("Cannot create the window of " + Name());
    handle_.reset(window);
    if (icon_) {
        SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
        SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
    }

    int id = firstCommandId;
    if (menu_) {
        for (TMenuItem* item : menu_->Items())
            item->setId(id++);
        SetMenu(window, menu_->createHandle());
    }
    // Laid out at the resolution of the monitor the window came up on, which may
    // be another than the screen's first one, as far as it fits there.
    fitToMonitor(windowDpi(window));
    // Child windows are created in tab order: the dialog manager tabs in window order.
    for (TWinControl* control : windowedInTabOrder())
        control->createWindow(window, id++);
    markPhase("window-made");
}

void TForm::setDpi(int dpi) {
    dpi_ = dpi;
    Font.setScale(dpi_, designDpi_);
    for (TControl* control : controls_) {
        control->Font.setScale(dpi_, designDpi_);
        control->boundsChanged();
    }
}

RECT TForm::workArea() const {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    HMONITOR monitor = handle_ ? MonitorFromWindow(handle_.get(), MONITOR_DEFAULTTOPRIMARY)
                               : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    if (!GetMonitorInfoA(monitor, &info))
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &info.rcWork, 0);
    return info.rcWork;
}

SIZE TForm::frameSize(int dpi) const {
    WindowStyle ws = windowStyle(BorderStyle, BorderIcons);
    RECT frame{0, 0, MulDiv(ClientWidth, dpi, designDpi_), MulDiv(ClientHeight, dpi, designDpi_)};
    AdjustWindowRectEx(&frame, ws.style, menu_ != nullptr, ws.exStyle);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

void TForm::fitToMonitor(int dpi) {
    // A window larger than its screen would put its buttons out of reach: it
    // shrinks until it fits, but not below the layout at 96 dpi, where it is as
    // its makers drew it.
    RECT work = workArea();
    int floor = (std::min)(dpi, 96);
    while (dpi > floor) {
        SIZE size = frameSize(dpi);
        if (size.cx <= work.right - work.left && size.cy <= work.bottom - work.top)
            break;
        --dpi;
    }
    if (dpi == dpi_ && shownBefore_)
        return;
    setDpi(dpi);
    SIZE size = frameSize(dpi);
    SetWindowPos(handle_.get(), nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::place() {
    RECT window;
    GetWindowRect(Handle(), &window);
    int width = window.right - window.left, height = window.bottom - window.top;
    RECT work = workArea();
    int x = window.left, y = window.top;
    if (Position == poScreenCenter) {
        x = work.left + ((work.right - work.left) - width) / 2;
        y = work.top + ((work.bottom - work.top) - height) / 2;
    }
    // The title bar stays on the work area, where the player can take hold of it.
    x = (std::max)((std::min)(x, static_cast<int>(work.right) - width),
                   static_cast<int>(work.left));
    y = (std::max)((std::min)(y, static_cast<int>(work.bottom) - height),
                   static_cast<int>(work.top));
    SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TForm* TForm::fromHandle(HWND window) {
    if (!window || GetClassLongPtrA(window, GCW_ATOM) != registerWindowClass(windowProc))
        return nullptr;
    return reinterpret_cast<TForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}
