#include "form.h"

#include "application.h"
#include "guard.h"
#include "image.h"
#include "layout.h"
#include "menu.h"
#include "properties.h"
#include "registry.h"
#include "base/resources.h"
#include "base/window_disabler.h"

#include <algorithm>
#include <cctype>

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

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

int screenDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

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

TForm::TForm(TComponent* owner, const FormClass& formClass)
    : TComponent(owner), formClass_(formClass) {
    std::string resource = upper(formClass.className);
    load(loadLayoutResource(resource), resource);
}

TForm::TForm(TComponent* owner, const FormClass& formClass, const std::string& layoutText)
    : TComponent(owner), formClass_(formClass) {
    load(layoutText, upper(formClass.className));
}

TForm::~TForm() {
    // The window goes first, with its child windows and menu, while the
    // components that they point at are still alive.
    handle_.reset();
}

void TForm::load(const std::string& layoutText, const std::string& layoutName) {
    dpi_ = screenDpi();
    Font.OnChange = [this] {
        for (TControl* control : controls_)
            control->parentFontChanged(Font);
    };
    LayoutObject root = parseLayout(layoutText, layoutName);
    if (root.className != formClass_.className)
        throw Exception("Layout " + layoutName + " describes " + root.className + ", not " +
                        formClass_.className);
    setName(root.name);
    build(*this, root);
    resolveReferences();
}

HWND TForm::Handle() const {
    if (!handle_ && !creatingWindow_)
        const_cast<TForm*>(this)->createWindow();
    return handle_.get();
}

void TForm::applyProperties(TComponent& target, const LayoutObject& object) {
    for (const LayoutProperty& property : object.properties)
        target.setProperty(PropertyReader(property, target, *this, property.name));
}

void TForm::build(TComponent& parent, const LayoutObject& object) {
    applyProperties(parent, object);
    for (const LayoutObject& child : object.children) {
        if (FindComponent(child.name) || child.name == Name())
            throw Exception("Layout line " + std::to_string(child.line) + ": the name " +
                            child.name + " is used twice");
        std::unique_ptr<TComponent> component = createComponent(child.className, this);
        if (!component)
            throw Exception("Layout line " + std::to_string(child.line) +
                            ": there is no component class " + child.className);
        component->setName(child.name);
        TComponent& made = *component;
        insertComponent(std::move(component));
        if (!parent.acceptChild(made))
            throw Exception("Layout line " + std::to_string(child.line) + ": " + parent.Name() +
                            " cannot hold " + child.name + " (" + child.className + ")");
        if (auto* control = dynamic_cast<TControl*>(&made))
            control->parentFontChanged(Font);
        build(made, child);
        made.Loaded();
    }
}

bool TForm::acceptChild(TComponent& child) {
    if (auto* control = dynamic_cast<TControl*>(&child)) {
        controls_.push_back(control);
        return true;
    }
    return dynamic_cast<TMainMenu*>(&child) != nullptr;
}

void TForm::resolveReferences() {
    if (!menuName_.empty()) {
        menu_ = dynamic_cast<TMainMenu*>(FindComponent(menuName_));
        if (!menu_)
            throw Exception("Layout " + upper(className()) + ": Menu names " + menuName_ +
                            ", which is no main menu of the form");
    }
    if (!activeControlName_.empty()) {
        activeControl_ = dynamic_cast<TButton*>(FindComponent(activeControlName_));
        if (!activeControl_)
            throw Exception("Layout " + upper(className()) + ": ActiveControl names " +
                            activeControlName_ +
                            ", which is no control of the form that can "
                            "take the focus");
    }
}

void TForm::setProperty(const PropertyReader& property) {
    if (property.is("Caption"))
        caption_ = property.string();
    else if (property.is("Left"))
        Left = property.coordinate();
    else if (property.is("Top"))
        Top = property.coordinate();
    else if (property.is("ClientWidth"))
        ClientWidth = property.coordinate();
    else if (property.is("ClientHeight"))
        ClientHeight = property.coordinate();
    else if (property.is("Color"))
        Color = property.color();
    else if (property.is("BorderStyle"))
        BorderStyle = static_cast<TFormBorderStyle>(
            property.oneOf({"bsNone", "bsSingle", "bsSizeable", "bsDialog"}));
    else if (property.is("BorderIcons")) {
        BorderIcons = 0;
        for (const std::string& item : property.set()) {
            static const char* const names[] = {"biSystemMenu", "biMinimize", "biMaximize",
                                                "biHelp"};
            auto it = std::find(std::begin(names), std::end(names), item);
            if (it == std::end(names))
                property.fail("there is no border icon " + item);
            BorderIcons |= 1u << (it - std::begin(names));
        }
    } else if (property.is("Position"))
        Position = static_cast<TPosition>(property.oneOf({"poDesigned", "poScreenCenter"}));
    else if (property.in("Font"))
        Font.setProperty(property.sub());
    else if (property.is("Icon")) {
        iconName_ = property.identifier();
        HINSTANCE module = GetModuleHandleA(nullptr);
        icon_.reset(static_cast<HICON>(LoadImageA(module, iconName_.c_str(), IMAGE_ICON,
                                                  GetSystemMetrics(SM_CXICON),
                                                  GetSystemMetrics(SM_CYICON), 0)));
        smallIcon_.reset(static_cast<HICON>(LoadImageA(module, iconName_.c_str(), IMAGE_ICON,
                                                       GetSystemMetrics(SM_CXSMICON),
                                                       GetSystemMetrics(SM_CYSMICON), 0)));
        if (!icon_)
            property.fail("there is no icon resource " + iconName_);
    } else if (property.is("Menu"))
        menuName_ = property.identifier();
    else if (property.is("ActiveControl"))
        activeControlName_ = property.identifier();
    else if (property.is("PixelsPerInch"))
        designDpi_ = static_cast<int>(property.integer());
    else if (property.is("TextHeight"))
        property.integer(); // kept for the designer's record; nothing depends on it
    else if (property.is("Visible"))
        Visible = property.boolean();
    else if (property.is("OnCreate"))
        OnCreate = property.notifyEvent();
    else if (property.is("OnMouseMove"))
        OnMouseMove = property.mouseMoveEvent();
    else
        TComponent::setProperty(property);
}

TNotifyEvent TForm::notifyHandler(const std::string& name) {
    for (const Handler& h : formClass_.handlers)
        if (h.notify && name == h.name)
            return [this, method = h.notify](TObject* sender) { (this->*method)(sender); };
    return {};
}

TMouseMoveEvent TForm::mouseMoveHandler(const std::string& name) {
    for (const Handler& h : formClass_.handlers)
        if (h.mouseMove && name == h.name)
            return [this, method = h.mouseMove](TObject* sender, TShiftState shift, int x, int y) {
                (this->*method)(sender, shift, x, y);
            };
    return {};
}

void TForm::createWindow() {
    struct Creating {
        bool& flag;
        explicit Creating(bool& f) : flag(f) { flag = true; }
        ~Creating() { flag = false; }
    } creating(creatingWindow_);
    DWORD style = WS_CLIPCHILDREN;
    DWORD exStyle = WS_EX_CONTROLPARENT;
    bool systemMenu = BorderIcons & biSystemMenu;
    switch (BorderStyle) {
    case bsNone:
        style |= WS_POPUP;
        break;
    case bsSingle:
    case bsSizeable:
        style |= WS_CAPTION | (BorderStyle == bsSizeable ? WS_THICKFRAME : WS_BORDER);
        if (systemMenu) {
            style |= WS_SYSMENU;
            if (BorderIcons & biMinimize)
                style |= WS_MINIMIZEBOX;
            if (BorderIcons & biMaximize)
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
    RECT frame{0, 0, scale(ClientWidth), scale(ClientHeight)};
    AdjustWindowRectEx(&frame, style, menu_ != nullptr, exStyle);

    TForm* mainForm = Application->MainForm();
    HWND owner = mainForm && mainForm != this ? mainForm->Handle() : nullptr;
    HWND window =
        CreateWindowExA(exStyle, MAKEINTATOM(registerWindowClass(windowProc)), caption_.c_str(),
                        style, scale(Left), scale(Top), frame.right - frame.left,
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
    // Child windows are created in tab order: the dialog manager tabs in window order.
    std::vector<TControl*> windowed;
    for (TControl* control : controls_)
        if (control->windowed())
            windowed.push_back(control);
    std::stable_sort(windowed.begin(), windowed.end(), [](TControl* a, TControl* b) {
        auto order = [](TControl* c) {
            int t = static_cast<TButton*>(c)->TabOrder;
            return t < 0 ? INT_MAX : t;
        };
        return order(a) < order(b);
    });
    setDpi(dpi_);
    for (TControl* control : windowed)
        control->createWindow(window, id++);
}

void TForm::setDpi(int dpi) {
    dpi_ = dpi;
    Font.setPixelsPerInch(dpi_);
    for (TControl* control : controls_) {
        control->Font.setPixelsPerInch(dpi_);
        control->boundsChanged();
    }
}

std::string TForm::Caption() const {
    return caption_;
}

void TForm::setCaption(const std::string& caption) {
    caption_ = caption;
    if (handle_)
        SetWindowTextA(handle_.get(), caption_.c_str());
}

void TForm::DoCreate() {
    if (OnCreate)
        OnCreate(this);
}

void TForm::centre() {
    RECT r;
    GetWindowRect(Handle(), &r);
    int width = r.right - r.left, height = r.bottom - r.top;
    int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    SetWindowPos(Handle(), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::focusFirst() {
    HWND target = nullptr;
    if (lastFocus_ && IsChild(Handle(), lastFocus_) && IsWindowEnabled(lastFocus_))
        target = lastFocus_;
    else if (auto* button = dynamic_cast<TButton*>(activeControl_))
        target = button->Handle();
    if (!target)
        target = GetNextDlgTabItem(Handle(), nullptr, FALSE);
    if (target)
        SetFocus(target);
}

void TForm::Show() {
    if (!shownBefore_ && Position == poScreenCenter)
        centre();
    bool first = !shownBefore_;
    shownBefore_ = true;
    Visible = true;
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
    if (first)
        focusFirst();
    UpdateWindow(Handle());
}

void TForm::Hide() {
    Visible = false;
    ShowWindow(Handle(), SW_HIDE);
}

int TForm::ShowModal() {
    HWND previous = GetActiveWindow();
    {
        WindowDisabler others(Handle());
        ModalResult = mrNone;
        ++modalDepth_;
        Show();
        focusFirst();
        Application->runModalLoop([this] { return ModalResult != mrNone; });
        --modalDepth_;
        // The others are enabled before this one hides, so that the activation falls
        // back on them and not on some other program's window.
    }
    Hide();
    if (previous && IsWindow(previous))
        SetActiveWindow(previous);
    return ModalResult;
}

void TForm::Close() {
    if (modal())
        ModalResult = mrCancel;
    else if (Application->MainForm() == this)
        Application->Terminate();
    else
        Hide();
}

TControl* TForm::controlAt(POINT client) const {
    POINT p{MulDiv(client.x, designDpi_, dpi_), MulDiv(client.y, designDpi_, dpi_)};
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it)
        if (!(*it)->windowed() && (*it)->contains(p))
            return *it;
    return nullptr;
}

TButton* TForm::buttonById(int id) const {
    for (TControl* control : controls_)
        if (auto* button = dynamic_cast<TButton*>(control); button && button->id() == id)
            return button;
    return nullptr;
}

TForm* TForm::fromHandle(HWND window) {
    if (!window || GetClassLongPtrA(window, GCW_ATOM) != registerWindowClass(windowProc))
        return nullptr;
    return reinterpret_cast<TForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

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
        // A focused push button answers Enter, else the form's default button.
        HWND focus = GetFocus();
        for (TControl* control : controls_)
            if (auto* b = dynamic_cast<TButton*>(control); b && b->Handle() == focus)
                return MAKELRESULT(b->id(), DC_HASDEFID);
        for (TControl* control : controls_)
            if (auto* b = dynamic_cast<TButton*>(control); b && b->Default)
                return MAKELRESULT(b->id(), DC_HASDEFID);
        return 0;
    }
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
        if (TButton* button = buttonById(static_cast<int>(item->CtlID))) {
            button->drawItem(*item);
            return TRUE;
        }
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
    case WM_DPICHANGED: {
        setDpi(HIWORD(w));
        const RECT* suggested = reinterpret_cast<const RECT*>(l);
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    }
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

void TForm::command(int id, int code) {
    if (code != BN_CLICKED && code != 0)
        return;
    if (quitRequested())
        return;
    if (id == IDCANCEL) {
        for (TControl* control : controls_)
            if (auto* b = dynamic_cast<TButton*>(control); b && b->Cancel)
                b->Click();
        return;
    }
    if (TButton* button = buttonById(id)) {
        button->Click();
        return;
    }
    if (menu_)
        for (TMenuItem* item : menu_->Items())
            if (item->id() == id)
                item->Click();
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
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(Handle(), &ps);
    RECT client;
    GetClientRect(Handle(), &client);
    // Painted off screen first, so that a label changing colour does not flicker.
    HDC buffer = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(buffer, bitmap);
    HBRUSH background = CreateSolidBrush(colorToRGB(Color));
    FillRect(buffer, &client, background);
    DeleteObject(background);
    for (TControl* control : controls_)
        if (control->Visible && !control->windowed())
            control->paint(buffer);
    BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
           ps.rcPaint.bottom - ps.rcPaint.top, buffer, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
    SelectObject(buffer, old);
    DeleteObject(bitmap);
    DeleteDC(buffer);
    EndPaint(Handle(), &ps);
}
