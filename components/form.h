#pragma once
#include "component.h"
#include "control.h"
#include "font.h"
#include "handlers.h"
#include "modal_result.h"

#include "base/exception.h"
#include "base/handles.h"

#include <string>
#include <vector>

class TMainMenu;
class TWinControl;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog };
enum TBorderIcon { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum TPosition { poDesigned, poScreenCenter };

// A top-level window built in its constructor from the stored layout named after
// its class in capitals. Events in the layout name their handlers; each form
// class declares the table through which those names reach its methods.
//
// Its code lies by concern: form_loader.cpp binds the stored layout,
// form_properties.cpp reads the form's own properties, form_window.cpp makes the
// window and keeps it at the screen's scale, form_messages.cpp dispatches its
// messages and paints it, and form.cpp is its life: shown, modal, closed.
class TForm : public TComponent {
  public:
    using NotifyMethod = void (TForm::*)(TObject*);
    using MouseMoveMethod = void (TForm::*)(TObject*, TShiftState, int, int);
    struct Handler {
        const char* name;
        NotifyMethod notify;
        MouseMoveMethod mouseMove;
    };
    struct FormClass {
        const char* className;
        std::vector<Handler> handlers;
    };
    template <class F> static Handler handler(const char* name, void (F::*method)(TObject*)) {
        return {name, static_cast<NotifyMethod>(method), nullptr};
    }
    template <class F>
    static Handler handler(const char* name, void (F::*method)(TObject*, TShiftState, int, int)) {
        return {name, nullptr, static_cast<MouseMoveMethod>(method)};
    }

    // Builds the form from the resource named after `formClass.className` in capitals.
    TForm(TComponent* owner, const FormClass& formClass);
    // Builds the form from layout text given directly.
    TForm(TComponent* owner, const FormClass& formClass, const std::string& layoutText);
    ~TForm() override;

    // The form's window, made when it is first needed: a form created hidden at
    // start-up costs no window until it is shown.
    HWND Handle();
    bool HandleAllocated() const { return static_cast<bool>(handle_); }
    std::string Caption() const;
    void setCaption(const std::string& caption);

    TColor Color = clBtnFace;
    TFont Font;
    int ModalResult = mrNone;
    TNotifyEvent OnCreate;
    TMouseMoveEvent OnMouseMove;
    TFormBorderStyle BorderStyle = bsSizeable;
    unsigned BorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition Position = poDesigned;
    int ClientWidth = 0;
    int ClientHeight = 0;
    int Left = 0;
    int Top = 0;
    bool Visible = false;

    void Show();
    void Hide();
    int ShowModal();
    // Ends a modal showing with mrCancel; closing the main form ends the program.
    void Close();
    void DoCreate();

    TWinControl* ActiveControl() const { return activeControl_; }
    TMainMenu* Menu() const { return menu_; }
    const std::vector<TControl*>& Controls() const { return controls_; }

    // Layout coordinates (at the layout's own resolution) to pixels at the form's.
    int scale(int value) const { return MulDiv(value, dpi_, designDpi_); }
    RECT scaled(RECT r) const {
        return {scale(r.left), scale(r.top), scale(r.right), scale(r.bottom)};
    }
    SIZE scaled(SIZE s) const { return {scale(s.cx), scale(s.cy)}; }
    int Dpi() const { return dpi_; }

    // The handlers of this form by the names its layout uses.
    const HandlerTable& Handlers() const { return handlers_; }

    void setProperty(const PropertyReader& property) override;
    bool acceptChild(TComponent& child) override;
    const char* className() const override { return formClass_.className; }

    // The form whose window this is, or null for any other window.
    static TForm* fromHandle(HWND window);

  protected:
    // For the member initialisers of a derived form: the stored component of that name.
    template <class T> T* component(const char* name) const {
        T* found = dynamic_cast<T*>(FindComponent(name));
        if (!found)
            throw Exception(std::string("The layout of ") + className() +
                            " has no component of the expected class named " + name);
        return found;
    }

  private:
    friend class FormLoader;

    class FormHandlers : public HandlerTable {
      public:
        explicit FormHandlers(TForm& form) : form_(form) {}
        TNotifyEvent notify(const std::string& name) const override;
        TMouseMoveEvent mouseMove(const std::string& name) const override;

      private:
        TForm& form_;
    };

    // form_window.cpp
    // Before the layout is read: the screen's resolution, and the form's font
    // handed on to the controls that follow it.
    void prepare();
    void createWindow();
    // Every position and font follows a new resolution.
    void setDpi(int dpi);
    // Lays the window out anew at `dpi`, or at the largest resolution at which it
    // fits the work area of its monitor (never below the layout at 96 dpi).
    void fitToMonitor(int dpi);
    // Centred or where the layout puts it, with its title bar on the work area.
    void place();
    RECT workArea() const;
    SIZE frameSize(int dpi) const;
    std::vector<TWinControl*> windowedInTabOrder() const;

    // form_messages.cpp
    static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM w, LPARAM l) noexcept;
    LRESULT handleMessage(HWND window, UINT message, WPARAM w, LPARAM l);
    bool dpiChanged(WPARAM w, LPARAM l);
    void paint();
    void paintFrame();
    void command(int id, int code);
    void mouse(UINT message, WPARAM w, LPARAM l);
    TControl* controlAt(POINT client) const;
    TWinControl* windowedById(int id) const;

    // form.cpp
    void focusFirst();
    bool modal() const { return modalDepth_ > 0; }

    const FormClass& formClass_;
    FormHandlers handlers_{*this};
    OwnedWindow handle_;
    std::vector<TControl*> controls_;
    TMainMenu* menu_ = nullptr;
    TWinControl* activeControl_ = nullptr;
    std::string menuName_;
    std::string activeControlName_;
    std::string caption_;
    std::string iconName_;
    OwnedIcon icon_;
    OwnedIcon smallIcon_;
    int designDpi_ = 96;
    int dpi_ = 96;
    int modalDepth_ = 0;
    bool shownBefore_ = false;
    bool creatingWindow_ = false;
    TControl* pressed_ = nullptr;
    HWND lastFocus_ = nullptr;
};
