#pragma once
#include "control.h"

#include <string>

constexpr int mrNone = 0;
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

// A native push button, so that the keyboard, accessibility tools and UI
// automation see it as one.
class TButton : public TControl {
  public:
    using TControl::TControl;
    std::string Caption;
    int TabOrder = -1;
    bool Default = false;
    bool Cancel = false;
    int ModalResult = mrNone;

    HWND Handle() const;
    int id() const { return id_; }
    // Hands the button's modal result to its form, then fires OnClick.
    void Click();

    void setProperty(const PropertyReader& property) override;
    bool windowed() const override { return true; }
    void createWindow(HWND parent, int id) override;
    void fontChanged() override;
    void boundsChanged() override;
    virtual void drawItem(const DRAWITEMSTRUCT& /*item*/) const {}
    const char* className() const override { return "TButton"; }

  protected:
    virtual DWORD buttonStyle() const { return Default ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON; }

  private:
    HWND handle_ = nullptr;
    int id_ = 0;
};
