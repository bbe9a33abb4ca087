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

  private:
    OwnedBitmap bitmap_;
    OwnedIcon icon_;
    SIZE natural_{0, 0};
};
