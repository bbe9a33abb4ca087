#include "bitbtn.h"

#include "base/gdi.h"
#include "form.h"
#include "properties.h"

#include <algorithm>

void TBitBtn::setProperty(const PropertyReader& property) {
    if (!property.is("Kind")) {
        TButton::setProperty(property);
        return;
    }
    Kind = static_cast<TBitBtnKind>(property.oneOf({"bkCustom", "bkOK", "bkCancel"}));
    if (Kind == bkOK) {
        Caption = "OK";
        ModalResult = mrOk;
        Default = true;
    } else if (Kind == bkCancel) {
        Caption = "Cancel";
        ModalResult = mrCancel;
        Cancel = true;
    }
}

void TBitBtn::drawGlyph(HDC dc, RECT box, bool enabled) const {
    int s = box.bottom - box.top;
    auto at = [&](int x, int y) { return POINT{box.left + x * s / 16, box.top + y * s / 16}; };
    COLORREF colour = enabled ? (Kind == bkCancel ? RGB(192, 0, 0) : RGB(0, 128, 0))
                              : GetSysColor(COLOR_GRAYTEXT);
    OwnedPen pen(CreatePen(PS_SOLID, (std::max)(2, s / 6), colour));
    ScopedSelect selected(dc, pen.get());
    if (Kind == bkCancel) {
        POINT a[] = {at(3, 3), at(13, 13)}, b[] = {at(13, 3), at(3, 13)};
        Polyline(dc, a, 2);
        Polyline(dc, b, 2);
    } else if (Kind == bkOK) {
        POINT tick[] = {at(2, 8), at(6, 12), at(14, 3)};
        Polyline(dc, tick, 3);
    }
}

bool TBitBtn::drawItem(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    bool pressed = item.itemState & ODS_SELECTED;
    bool focused = item.itemState & ODS_FOCUS;
    bool enabled = !(item.itemState & ODS_DISABLED);
    if (Default || focused) {
        FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&r, -1, -1);
    }
    DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    if (pressed)
        OffsetRect(&r, 1, 1);

    ScopedSelect font(dc, Font.Handle());
    SIZE text{};
    GetTextExtentPoint32A(dc, Caption.c_str(), static_cast<int>(Caption.size()), &text);
    int glyph = Kind == bkCustom ? 0 : Form().scale(16);
    int gap = glyph ? Form().scale(4) : 0;
    int left = r.left + ((r.right - r.left) - (glyph + gap + text.cx)) / 2;
    int middle = (r.top + r.bottom) / 2;
    if (glyph)
        drawGlyph(dc, {left, middle - glyph / 2, left + glyph, middle + glyph / 2}, enabled);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    RECT textBox{left + glyph + gap, r.top, r.right, r.bottom};
    DrawTextA(dc, Caption.c_str(), static_cast<int>(Caption.size()), &textBox,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (focused) {
        RECT f = r;
        InflateRect(&f, -3, -3);
        DrawFocusRect(dc, &f);
    }
    return true;
}
