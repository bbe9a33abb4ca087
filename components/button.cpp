#include "button.h"

#include "base/exception.h"
#include "form.h"
#include "properties.h"

void TButton::Click() {
    if (ModalResult != mrNone)
        Form().ModalResult = ModalResult;
    if (OnClick)
        OnClick(this);
}

void TButton::command(int code) {
    if (code == BN_CLICKED)
        Click();
}

void TButton::setProperty(const PropertyReader& property) {
    if (property.is("Caption"))
        Caption = property.string();
    else if (property.is("Default"))
        Default = property.boolean();
    else if (property.is("Cancel"))
        Cancel = property.boolean();
    else if (property.is("ModalResult"))
        ModalResult = static_cast<int>(property.integer());
    else
        TWinControl::setProperty(property);
}

HWND TButton::createHandle(HWND parent, int id, RECT r) {
    DWORD style = WS_CHILD | WS_TABSTOP | buttonStyle() | (Visible ? WS_VISIBLE : 0);
    HWND window = CreateWindowExA(
        0, "BUTTON", Caption.c_str(), style, r.left, r.top, r.right - r.left, r.bottom - r.top,
        parent, reinterpret_cast<HMENU>(INT_PTR(id)), GetModuleHandleA(nullptr), nullptr);
    if (!window)
        throw Exception("Cannot create the button " + Name());
    return window;
}

void TButton::fontChanged() {
    // Before its window exists there is nothing to tell: the window takes the font
    // when it is made.
    if (HWND window = existingHandle())
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(Font.Handle()), TRUE);
}
