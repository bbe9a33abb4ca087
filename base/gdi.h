#pragma once
#include "handles.h"

#include <windows.h>

// Scopes for what painting borrows from a device context, so that a paint path
// that throws half-way still gives every object back and ends its painting.

// Selects an object into a device context and puts the one it replaced back.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    ~ScopedSelect() {
        if (old_ && old_ != HGDI_ERROR)
            SelectObject(dc_, old_);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// BeginPaint … EndPaint for one WM_PAINT.
class PaintScope {
  public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
    ~PaintScope() { EndPaint(window_, &ps_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }
    const RECT& area() const { return ps_.rcPaint; }

  private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// A window's device context, from GetDC … ReleaseDC; null for the screen's.
class WindowDC {
  public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// A memory device context holding a bitmap compatible with `target`: the picture
// is drawn there first and shown at once with present(), so that nothing flickers.
class BufferedPaint {
  public:
    BufferedPaint(HDC target, SIZE size)
        : target_(target), dc_(CreateCompatibleDC(target)),
          bitmap_(CreateCompatibleBitmap(target, size.cx, size.cy)),
          select_(dc_.get(), bitmap_.get()) {}
    HDC dc() const { return dc_.get(); }
    void present(const RECT& area) const {
        BitBlt(target_, area.left, area.top, area.right - area.left, area.bottom - area.top,
               dc_.get(), area.left, area.top, SRCCOPY);
    }

  private:
    HDC target_;
    OwnedMemoryDC dc_;
    OwnedBitmap bitmap_;
    ScopedSelect select_; // last: deselected before the bitmap and the DC go
};
