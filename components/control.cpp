#include "control.h"

#include "form.h"
#include "properties.h"

TControl::TControl(TComponent* owner) : TComponent(owner) {
    Font.OnChange = [this] { fontChanged(); };
}

TForm& TControl::Form() const {
    return *static_cast<TForm*>(Owner());
}

void TControl::Invalidate() const {
    // Nothing to repaint before the form has a window; it paints everything then.
    if (Form().HandleAllocated()) {
        HWND form = Form().Handle();
        RECT r = Form().scaled(BoundsRect());
        InvalidateRect(form, &r, FALSE);
    }
}

void TControl::parentFontChanged(const TFont& font) {
    if (ParentFont)
        Font = font;
}

void TControl::setProperty(const PropertyReader& property) {
    if (property.is("Left"))
        Left = property.coordinate();
    else if (property.is("Top"))
        Top = property.coordinate();
    else if (property.is("Width"))
        Width = property.coordinate();
    else if (property.is("Height"))
        Height = property.coordinate();
    else if (property.is("Visible"))
        Visible = property.boolean();
    else if (property.is("ParentFont"))
        ParentFont = property.boolean();
    else if (property.in("Font")) {
        ParentFont = false;
        Font.setProperty(property.sub());
    } else if (property.is("OnClick"))
        OnClick = property.notifyEvent();
    else if (property.is("OnDblClick"))
        OnDblClick = property.notifyEvent();
    else if (property.is("OnMouseMove"))
        OnMouseMove = property.mouseMoveEvent();
    else
        TComponent::setProperty(property);
}
