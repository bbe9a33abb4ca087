#pragma once
#include "control.h"
#include "base/handles.h"

// A picture painted by its form: a bitmap or an icon from the program's resources.
class TImage : public TControl {
  public:
    using TControl::TControl;
    bool AutoSize = false;
    bool Stretch = false;

    void setProperty(const PropertyReader& property) override;
    void Loaded() override;
    void paint(HDC dc) const override;
    const char* className() const override { return "TImage"; }

    // Painted at its natural size or stretched over its whole place, without
    // transparency: nothing needs to be drawn beneath it first.
    bool opaque() const override { return dib_ && (Stretch || AutoSize); }

  private:
    // The bitmap resource is a packed DIB in the mapped executable: painted from
    // there, it is never copied.
    const BITMAPINFO* dib_ = nullptr;
    const void* bits_ = nullptr;
    OwnedIcon icon_;
    SIZE natural_{0, 0};
};
