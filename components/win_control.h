#pragma once
#include "control.h"

// A control with a window of its own. Its form makes the windows in tab order,
// keeps them where the layout puts them at the form's scale, and hands each the
// notifications its window sends, found by its id: a new kind of windowed
// control needs no change to the form.
class TWinControl : public TControl {
  public:
    using TControl::TControl;
    // The position in the dialog manager's Tab order; -1 for after all others.
    int TabOrder = -1;

    // The control's window, which comes with its form's.
    HWND Handle() const;
    int id() const { return id_; }
    void createWindow(HWND parent, int id);

    // A notification its window sent (WM_COMMAND's code), or BN_CLICKED when the
    // dialog manager chose this control for Enter or Escape.
    virtual void command(int /*code*/) {}
    // WM_DRAWITEM for an owner-drawn window; false when it draws itself.
    virtual bool drawItem(const DRAWITEMSTRUCT& /*item*/) const { return false; }
    // The control that answers Enter, and the one that answers Escape.
    virtual bool isDefault() const { return false; }
    // Whether Enter goes to this control while it has the focus, as it does to a
    // push button, rather than to the default one.
    virtual bool answersEnterWhenFocused() const { return false; }
    virtual bool isCancel() const { return false; }

    void setProperty(const PropertyReader& property) override;
    void boundsChanged() override;

  protected:
    // The window once it is made, else null; never makes it.
    HWND existingHandle() const { return handle_; }
    // Makes the window at `bounds` (pixels of the form's client area) or throws.
    virtual HWND createHandle(HWND parent, int id, RECT bounds) = 0;

  private:
    HWND handle_ = nullptr;
    int id_ = 0;
};
