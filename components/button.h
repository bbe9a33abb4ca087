#pragma once
#include "modal_result.h"
#include "win_control.h"

#include <string>

// A native push button, so that the keyboard, accessibility tools and UI
// automation see it as one.
class TButton : public TWinControl {
  public:
    using TWinControl::TWinControl;
    std::string Caption;
    bool Default = false;
    bool Cancel = false;
    int ModalResult = mrNone;

    // Hands the button's modal result to its form, then fires OnClick.
    void Click();

    void command(int code) override;
    bool isDefault() const override { return Default; }
    bool isCancel() const override { return Cancel; }
    bool answersEnterWhenFocused() const override { return true; }
    void setProperty(const PropertyReader& property) override;
    void fontChanged() override;
    const char* className() const override { return "TButton"; }

  protected:
    HWND createHandle(HWND parent, int id, RECT bounds) override;
    virtual DWORD buttonStyle() const { return Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON; }
};
