#include "win_control.h"

#include "form.h"
#include "properties.h"

HWND TWinControl::Handle() const {
    Form().Handle();
    return handle_;
}

void TWinControl::createWindow(HWND parent, int id) {
    id_ = id;
    handle_ = createHandle(parent, id, Form().scaled(BoundsRect()));
    fontChanged();
}

void TWinControl::setProperty(const PropertyReader& property) {
    if (property.is("TabOrder"))
        TabOrder = static_cast<int>(property.integer());
    else
        TControl::setProperty(property);
}

void TWinControl::boundsChanged() {
    if (!handle_)
        return;
    RECT r = Form().scaled(BoundsRect());
    SetWindowPos(handle_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
