#pragma once
#include "component.h"
#include "exception.h"
#include "handles.h"

#include <functional>
#include <new>
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

    // Creates a form owned by the application. `reference` is set before the form's
    // constructor runs; the form's OnCreate fires once the whole constructor has run.
    // The first form created becomes the main form.
    template <class T> void CreateForm(T*& reference) {
        void* memory = ::operator new(sizeof(T));
        reference = static_cast<T*>(memory);
        T* form;
        try {
            form = new (memory) T(this);
        } catch (...) {
            reference = nullptr;
            ::operator delete(memory);
            throw;
        }
        adopt(std::unique_ptr<TForm>(form));
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

extern TApplication* const Application;
