#include "application.h"

#include "form.h"
#include "base/window_disabler.h"

TApplication& theApplication() {
    static TApplication application;
    return application;
}

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() {
    mainForm_ = nullptr;
}

void TApplication::Initialize() {
    Handle();
}

HWND TApplication::Handle() {
    if (!handle_) {
        static const ATOM atom = [] {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = DefWindowProcA;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "TApplication";
            return RegisterClassExA(&wc);
        }();
        // Hidden: it only owns the application's message boxes and carries the title.
        handle_.reset(CreateWindowExA(0, MAKEINTATOM(atom), title_.c_str(), WS_POPUP, 0, 0, 0, 0,
                                      nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
    }
    return handle_.get();
}

void TApplication::setTitle(std::string title) {
    title_ = std::move(title);
    if (handle_)
        SetWindowTextA(handle_.get(), title_.c_str());
}

void TApplication::adopt(std::unique_ptr<TForm> form) {
    TForm& made = *form;
    insertComponent(std::move(form));
    if (!mainForm_)
        mainForm_ = &made;
    made.DoCreate();
}

void TApplication::dispatch(MSG& msg) {
    // The system sends its resolution changes; one that was posted was forged,
    // and the pointer it carries is nobody's to read.
    if (msg.message == WM_DPICHANGED) {
        DefWindowProcA(msg.hwnd, msg.message, msg.wParam, 0);
        return;
    }
    HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (TForm::fromHandle(root) && IsDialogMessageA(root, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void TApplication::Run() {
    if (mainForm_)
        mainForm_->Show();
    MSG msg{};
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        dispatch(msg);
    terminated_ = true;
}

void TApplication::runModalLoop(const std::function<bool()>& done) {
    while (!done()) {
        MSG msg{};
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // Leave the quit request for the outer loop, which ends the program.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (got == -1)
            return; // msg holds nothing; the queue cannot be read any more
        dispatch(msg);
    }
}

void TApplication::Terminate() {
    terminated_ = true;
    PostQuitMessage(0);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    HWND active = GetActiveWindow();
    int result;
    {
        WindowDisabler windows;
        result = ::MessageBoxA(Handle(), text.c_str(), caption.c_str(), flags);
    }
    if (active && IsWindow(active))
        SetActiveWindow(active);
    return result;
}

void TApplication::ShowException(const Exception& e) noexcept {
    try {
        MessageBox(e.Message() + ".", title_, MB_OK | MB_ICONSTOP);
    } catch (...) {
        ::MessageBoxA(nullptr, e.what(), title_.c_str(), MB_OK | MB_ICONSTOP);
    }
}
