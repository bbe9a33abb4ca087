#pragma once
#include "component.h"
#include "font.h"

// A visible component on a form. Controls without a window of their own (labels,
// pictures) are painted by their form and get its mouse events where they lie;
// those with one are TWinControls.
class TControl : public TComponent {
  public:
    explicit TControl(TComponent* owner);

    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Visible = true;
    TFont Font;
    bool ParentFont = true;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseMoveEvent OnMouseMove;

    TForm& Form() const;
    RECT BoundsRect() const { return {Left, Top, Left + Width, Top + Height}; }
    bool contains(POINT p) const {
        RECT r = BoundsRect();
        return Visible && PtInRect(&r, p);
    }
    void Invalidate() const;

    void setProperty(const PropertyReader& property) override;

    // The form's font changed: a control that follows it takes the new one.
    void parentFontChanged(const TFont& font);

    virtual void paint(HDC /*dc*/) const {}
    // Whether paint() covers the control's whole place in one step, so that its
    // form need neither fill the background beneath it nor paint off screen first.
    virtual bool opaque() const { return false; }
    virtual void fontChanged() { Invalidate(); }
    // The form's scale changed: a windowed control moves its window.
    virtual void boundsChanged() {}
};
