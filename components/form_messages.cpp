#include "form.h"

#include "guard.h"
#include "menu.h"
#include "win_control.h"

#include "base/gdi.h"
#include "base/startup_phases.h"

namespace {

TShiftState shiftState(WPARAM keys) {
    TShiftState shift = 0;
    if (keys & MK_SHIFT)
        shift |= ssShift;
    if (keys & MK_CONTROL)
        shift |= ssCtrl;
    if (keys & MK_LBUTTON)
        shift |= ssLeft;
    if (keys & MK_RBUTTON)
        shift |= ssRight;
    if (keys & MK_MBUTTON)
        shift |= ssMiddle;
    if (GetKeyState(VK_MENU) < 0)
        shift |= ssAlt;
    return shift;
}

// Once a quit request is queued the program is ending: a click that arrives
// after it must not start anything more.
bool quitRequested() {
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

} // namespace

LRESULT CALLBACK TForm::windowProc(HWND window, UINT message, WPARAM w, LPARAM l) noexcept {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(l);
        auto* form = static_cast<TForm*>(create->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!form)
        return DefWindowProcA(window, message, w, l);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        return DefWindowProcA(window, message, w, l);
    }
    return guardCallback([&] { return form->handleMessage(window, message, w, l); },
                         [&] { return DefWindowProcA(window, message, w, l); });
}

LRESULT TForm::handleMessage(HWND window, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        paint();
        return 0;
    case WM_COMMAND:
        command(LOWORD(w), HIWORD(w));
        return 0;
    case DM_GETDEFID: {
        // A focused control that answers Enter, else the form's default one.
        HWND focus = GetFocus();
        std::vector<TWinControl*> windowed = windowedInTabOrder();
        for (TWinControl* c : windowed)
            if (c->answersEnterWhenFocused() && c->Handle() == focus)
                return MAKELRESULT(c->id(), DC_HASDEFID);
        for (TWinControl* c : windowed)
            if (c->isDefault())
                return MAKELRESULT(c->id(), DC_HASDEFID);
        return 0;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
        if (TWinControl* control = item ? windowedById(static_cast<int>(item->CtlID)) : nullptr)
            if (control->drawItem(*item))
                return TRUE;
        break;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
        mouse(message, w, l);
        return 0;
    case WM_CLOSE:
        Close();
        return 0;
    case WM_DPICHANGED:
        if (dpiChanged(w, l))
            return 0;
        break;
    case WM_ACTIVATE:
        if (LOWORD(w) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(window, focus))
                lastFocus_ = focus;
        } else if (!HIWORD(w)) {
            focusFirst();
            return 0;
        }
        break;
    }
    return DefWindowProcA(window, message, w, l);
}

bool TForm::dpiChanged(WPARAM w, LPARAM l) {
    // Both axes alike and within what any screen has; anything else is no
    // resolution the system would send, and goes to the default procedure.
    int dpi = HIWORD(w);
    if (LOWORD(w) != dpi || dpi < 24 || dpi > 2400)
        return false;
    // The suggested rectangle is read only from the system's own message, sent on
    // this thread; one sent from elsewhere carries a pointer into another process.
    const RECT* suggested = InSendMessage() ? nullptr : reinterpret_cast<const RECT*>(l);
    int before = dpi_;
    fitToMonitor(dpi);
    if (suggested && dpi_ == dpi && before != dpi)
        SetWindowPos(Handle(), nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    else
        place();
    InvalidateRect(Handle(), nullptr, FALSE);
    return true;
}

void TForm::command(int id, int code) {
    if (code != BN_CLICKED && code != 0)
        return;
    if (quitRequested())
        return;
    if (id == IDCANCEL) {
        for (TWinControl* control : windowedInTabOrder())
            if (control->isCancel())
                control->command(BN_CLICKED);
        return;
    }
    if (TWinControl* control = windowedById(id)) {
        control->command(code);
        return;
    }
    if (menu_)
        for (TMenuItem* item : menu_->Items())
            if (item->id() == id)
                item->Click();
}

TControl* TForm::controlAt(POINT client) const {
    POINT p{MulDiv(client.x, designDpi_, dpi_), MulDiv(client.y, designDpi_, dpi_)};
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        if (!dynamic_cast<TWinControl*>(*it) && (*it)->contains(p))
            return *it;
    return nullptr;
}

TWinControl* TForm::windowedById(int id) const {
    for (TControl* control : controls_)
        if (auto* w = dynamic_cast<TWinControl*>(control); w && w->id() == id)
            return w;
    return nullptr;
}

void TForm::mouse(UINT message, WPARAM w, LPARAM l) {
    POINT p{static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l))};
    TControl* control = controlAt(p);
    int x = MulDiv(p.x, designDpi_, dpi_), y = MulDiv(p.y, designDpi_, dpi_);
    switch (message) {
    case WM_MOUSEMOVE:
        if (control) {
            if (control->OnMouseMove)
                control->OnMouseMove(control, shiftState(w), x - control->Left, y - control->Top);
        } else if (OnMouseMove) {
            OnMouseMove(this, shiftState(w), x, y);
        }
        break;
    case WM_LBUTTONDOWN:
        pressed_ = control;
        if (control)
            SetCapture(Handle());
        break;
    case WM_LBUTTONUP: {
        TControl* pressed = pressed_;
        pressed_ = nullptr;
        if (GetCapture() == Handle())
            ReleaseCapture();
        if (pressed && pressed == control && control->OnClick && !quitRequested())
            control->OnClick(control);
        break;
    }
    case WM_LBUTTONDBLCLK:
        pressed_ = nullptr;
        if (control && control->OnDblClick && !quitRequested())
            control->OnDblClick(control);
        break;
    }
}

void TForm::paint() {
    paintFrame();
    markPhase("first-paint");
}

void TForm::paintFrame() {
    PaintScope painting(Handle());
    HDC dc = painting.dc();
    RECT client;
    GetClientRect(Handle(), &client);
    OwnedBrush background(CreateSolidBrush(colorToRGB(Color)));
    std::vector<TControl*> painted;
    bool layered = false;
    for (TControl* control : controls_)
        if (control->Visible && !dynamic_cast<TWinControl*>(control)) {
            painted.push_back(control);
            layered = layered || !control->opaque();
        }
    if (layered) {
        // Painted off screen first, so that a label changing colour does not flicker.
        BufferedPaint buffer(dc, {client.right, client.bottom});
        FillRect(buffer.dc(), &client, background.get());
        for (TControl* control : painted)
            control->paint(buffer.dc());
        buffer.present(painting.area());
        return;
    }
    // Only opaque pictures: the background around them, then each once, straight
    // on the screen. Nothing is painted twice, so nothing flickers.
    int saved = SaveDC(dc);
    for (TControl* control : painted) {
        RECT r = scaled(control->BoundsRect());
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    FillRect(dc, &painting.area(), background.get());
    RestoreDC(dc, saved);
    for (TControl* control : painted)
        control->paint(dc);
}
