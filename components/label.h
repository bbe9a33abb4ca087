#pragma once
#include "control.h"

#include <string>

// Static text painted by its form: opaque, left-aligned, in its font and colour.
class TLabel : public TControl {
  public:
    using TControl::TControl;
    std::string Caption;
    TColor Color = clBtnFace;
    bool ParentColor = true;

    void setProperty(const PropertyReader& property) override;
    void paint(HDC dc) const override;
    const char* className() const override { return "TLabel"; }
};
