#include "label.h"

#include "base/gdi.h"
#include "form.h"
#include "properties.h"

void TLabel::setProperty(const PropertyReader& property) {
    if (property.is("Caption")) {
        Caption = property.string();
    } else if (property.is("Color")) {
        Color = property.color();
        ParentColor = false;
    } else if (property.is("ParentColor")) {
        ParentColor = property.boolean();
    } else {
        TControl::setProperty(property);
    }
}

void TLabel::paint(HDC dc) const {
    RECT r = Form().scaled(BoundsRect());
    OwnedBrush brush(CreateSolidBrush(colorToRGB(ParentColor ? Form().Color : Color)));
    FillRect(dc, &r, brush.get());
    ScopedSelect font(dc, Font.Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colorToRGB(Font.Color()));
    DrawTextA(dc, Caption.c_str(), static_cast<int>(Caption.size()), &r, DT_LEFT | DT_EXPANDTABS);
}
