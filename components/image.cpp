#include "image.h"

#include "base/gdi.h"
#include "form.h"
#include "properties.h"

void TImage::setProperty(const PropertyReader& property) {
    if (property.is("Picture.Bitmap")) {
        std::string name = property.identifier();
        bitmap_.reset(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), name.c_str(),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        if (!bitmap_)
            property.fail("there is no bitmap resource " + name);
        BITMAP info{};
        GetObjectA(bitmap_.get(), sizeof info, &info);
        natural_ = {info.bmWidth, info.bmHeight};
    } else if (property.is("Picture.Icon")) {
        std::string name = property.identifier();
        icon_.reset(static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), name.c_str(), IMAGE_ICON, 32, 32, 0)));
        if (!icon_)
            property.fail("there is no icon resource " + name);
        natural_ = {32, 32};
    } else if (property.is("AutoSize")) {
        AutoSize = property.boolean();
    } else if (property.is("Stretch")) {
        Stretch = property.boolean();
    } else {
        TControl::setProperty(property);
    }
}

void TImage::Loaded() {
    if (AutoSize && natural_.cx > 0) {
        Width = natural_.cx;
        Height = natural_.cy;
    }
}

void TImage::paint(HDC dc) const {
    RECT r = Form().scaled(BoundsRect());
    SIZE size = Stretch ? SIZE{r.right - r.left, r.bottom - r.top} : Form().scaled(natural_);
    if (bitmap_) {
        OwnedMemoryDC source(CreateCompatibleDC(dc));
        ScopedSelect selected(source.get(), bitmap_.get());
        bool whole = size.cx % natural_.cx == 0 && size.cy % natural_.cy == 0;
        // Whole multiples keep the pixels sharp; any other scale is smoothed.
        SetStretchBltMode(dc, whole ? COLORONCOLOR : HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, r.left, r.top, size.cx, size.cy, source.get(), 0, 0, natural_.cx,
                   natural_.cy, SRCCOPY);
    } else if (icon_) {
        DrawIconEx(dc, r.left, r.top, icon_.get(), size.cx, size.cy, 0, nullptr, DI_NORMAL);
    }
}
