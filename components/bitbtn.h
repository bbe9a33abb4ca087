#pragma once
#include "button.h"

enum TBitBtnKind { bkCustom, bkOK, bkCancel };

// A push button with a glyph beside its caption. The kind gives the caption, the
// glyph, the modal result and the default or cancel role together.
class TBitBtn : public TButton {
  public:
    using TButton::TButton;
    TBitBtnKind Kind = bkCustom;

    void setProperty(const PropertyReader& property) override;
    bool drawItem(const DRAWITEMSTRUCT& item) const override;
    const char* className() const override { return "TBitBtn"; }

  protected:
    // Drawn by the layer for the glyph; the form answers DM_GETDEFID so that Enter
    // still reaches a default button drawn this way.
    DWORD buttonStyle() const override { return BS_OWNERDRAW; }

  private:
    void drawGlyph(HDC dc, RECT box, bool enabled) const;
};
