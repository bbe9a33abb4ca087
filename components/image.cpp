#include "image.h"

#include "base/gdi.h"
#include "form.h"
#include "properties.h"

#include <cstdlib>

namespace {

// Where the pixels of a packed, uncompressed DIB of `size` bytes begin, or null
// when the header does not describe one that fits in those bytes.
const void* dibBits(const BITMAPINFO& dib, DWORD size) {
    const BITMAPINFOHEADER& header = dib.bmiHeader;
    if (size < sizeof header || header.biSize < sizeof header || header.biSize > size ||
        header.biCompression != BI_RGB || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biPlanes != 1)
        return nullptr;
    int bits = header.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return nullptr;
    unsigned long long colours =
        header.biClrUsed ? header.biClrUsed : (bits <= 8 ? 1ull << bits : 0);
    unsigned long long stride =
        (static_cast<unsigned long long>(header.biWidth) * bits + 31) / 32 * 4;
    unsigned long long offset = header.biSize + colours * sizeof(RGBQUAD);
    unsigned long long height =
        header.biHeight < 0 ? -static_cast<long long>(header.biHeight) : header.biHeight;
    if (offset + stride * height > size)
        return nullptr;
    return reinterpret_cast<const char*>(&dib) + offset;
}

} // namespace

void TImage::setProperty(const PropertyReader& property) {
    if (property.is("Picture.Bitmap")) {
        std::string name = property.identifier();
        HMODULE module = GetModuleHandleA(nullptr);
        HRSRC found = FindResourceA(module, name.c_str(), MAKEINTRESOURCEA(2)); // RT_BITMAP
        HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
        dib_ = loaded ? static_cast<const BITMAPINFO*>(LockResource(loaded)) : nullptr;
        if (!dib_)
            property.fail("there is no bitmap resource " + name);
        bits_ = dibBits(*dib_, SizeofResource(module, found));
        if (!bits_)
            property.fail("the bitmap resource " + name + " is no uncompressed bitmap");
        natural_ = {dib_->bmiHeader.biWidth, std::abs(dib_->bmiHeader.biHeight)};
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
    if (dib_) {
        bool whole = size.cx % natural_.cx == 0 && size.cy % natural_.cy == 0;
        // Whole multiples keep the pixels sharp; any other scale is smoothed.
        SetStretchBltMode(dc, whole ? COLORONCOLOR : HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchDIBits(dc, r.left, r.top, size.cx, size.cy, 0, 0, natural_.cx, natural_.cy, bits_,
                      dib_, DIB_RGB_COLORS, SRCCOPY);
    } else if (icon_) {
        DrawIconEx(dc, r.left, r.top, icon_.get(), size.cx, size.cy, 0, nullptr, DI_NORMAL);
    }
}
