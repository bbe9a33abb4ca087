#pragma once
#include "component.h"
#include "base/exception.h"
#include "base/handles.h"

#include <functional>
#include <memory>
#include <string>

class TForm;

// The application object: owns the forms, runs the message loop and shows the
// application's message boxes and exceptions.
class TApplication : public TComponent {
  public:
    TApplication();
    ~TApplication() override;

    void Initialize();
    const std::string& Title() const { return title_; }
    void setTitle(std::string title);

    // Creates a form owned by the application. `reference` points at the form once
    // its whole constructor has run, before its OnCreate fires, and stays null when
    // the constructor throws. The first form created becomes the main form.
    template <class T> void CreateForm(T*& reference) {
        reference = nullptr;
        auto form = std::make_unique<T>(this);
        reference = form.get();
        adopt(std::move(form));
    }

    // Shows the main form and dispatches messages until a quit request arrives.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // The exception's message followed by ".", in the application's box with the stop icon.
    void ShowException(const Exception& e) noexcept;
    // Disables the application's windows while the box is up, then reactivates the
    // window that was active before. Returns the button pressed.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

    TForm* MainForm() const { return mainForm_; }
    HWND Handle();
    // A nested loop, as a modal form runs it, until `done` or a quit request.
    void runModalLoop(const std::function<bool()>& done);
    const char* className() const override { return "TApplication"; }

  private:
    void adopt(std::unique_ptr<TForm> form);
    static void dispatch(MSG& msg);

    std::string title_;
    OwnedWindow handle_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
};

// The one application object, made on its first use rather than during static
// initialisation: no code of the layer runs before the program entry has
// restricted the DLL search.
TApplication& theApplication();
struct ApplicationAccess {
    TApplication* operator->() const { return &theApplication(); }
    operator TApplication*() const { return &theApplication(); }
};
inline constexpr ApplicationAccess Application{};
