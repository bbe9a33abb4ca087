#include "button.h"

#include "form.h"
#include "base/exception.h"
#include "properties.h"

HWND TButton::Handle() const {
    Form().Handle(); // the button's window comes with its form's
    return handle_;
}

void TButton::Click() {
    if (ModalResult != mrNone)
        Form().ModalResult = ModalResult;
    if (OnClick)
        OnClick(this);
}

void TButton::setProperty(const PropertyReader& property) {
    if (property.is("Caption"))
        Caption = property.string();
    else if (property.is("TabOrder"))
        TabOrder = static_cast<int>(property.integer());
    else if (property.is("Default"))
        Default = property.boolean();
    else if (property.is("Cancel"))
        Cancel = property.boolean();
    else if (property.is("ModalResult"))
        ModalResult = static_cast<int>(property.integer());
    else
        TControl::setProperty(property);
}

void TButton::createWindow(HWND parent, int id) {
    id_ = id;
    RECT r = Form().scaled(BoundsRect());
    DWORD style = WS_CHILD | WS_TABSTOP | buttonStyle() | (Visible ? WS_VISIBLE : 0);
    handle_ = CreateWindowExA(0, "BUTTON", Caption.c_str(), style, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                              GetModuleHandleA(nullptr), nullptr);
    if (!handle_)
        throw Exception("Cannot create the button " + Name());
    fontChanged();
}

void TButton::boundsChanged() {
    if (!handle_)
        return;
    RECT r = Form().scaled(BoundsRect());
    SetWindowPos(handle_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TButton::fontChanged() {
    if (handle_)
        SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font.Handle()), TRUE);
}
