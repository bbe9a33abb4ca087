#include "form.h"

#include "application.h"
#include "form_loader.h"
#include "win_control.h"

#include "base/resources.h"
#include "base/startup_phases.h"
#include "base/window_disabler.h"

#include <cctype>

namespace {

std::string upper(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

} // namespace

TForm::TForm(TComponent* owner, const FormClass& formClass)
    : TComponent(owner), formClass_(formClass) {
    prepare();
    std::string resource = upper(formClass.className);
    FormLoader::load(*this, loadLayoutResource(resource), resource);
}

TForm::TForm(TComponent* owner, const FormClass& formClass, const std::string& layoutText)
    : TComponent(owner), formClass_(formClass) {
    prepare();
    FormLoader::load(*this, layoutText, upper(formClass.className));
}

TForm::~TForm() {
    // The window goes first, with its child windows and menu, while the
    // components that they point at are still alive.
    handle_.reset();
}

TNotifyEvent TForm::FormHandlers::notify(const std::string& name) const {
    for (const Handler& h : form_.formClass_.handlers)
        if (h.notify && name == h.name)
            return [form = &form_, method = h.notify](TObject* sender) { (form->*method)(sender); };
    return {};
}

TMouseMoveEvent TForm::FormHandlers::mouseMove(const std::string& name) const {
    for (const Handler& h : form_.formClass_.handlers)
        if (h.mouseMove && name == h.name)
            return [form = &form_, method = h.mouseMove](TObject* sender, TShiftState shift, int x,
                                                         int y) {
                (form->*method)(sender, shift, x, y);
            };
    return {};
}

std::string TForm::Caption() const {
    return caption_;
}

void TForm::setCaption(const std::string& caption) {
    caption_ = caption;
    if (handle_)
        SetWindowTextA(handle_.get(), caption_.c_str());
}

void TForm::DoCreate() {
    if (OnCreate)
        OnCreate(this);
}

void TForm::focusFirst() {
    HWND target = nullptr;
    if (lastFocus_ && IsChild(Handle(), lastFocus_) && IsWindowEnabled(lastFocus_))
        target = lastFocus_;
    else if (activeControl_)
        target = activeControl_->Handle();
    if (!target)
        target = GetNextDlgTabItem(Handle(), nullptr, FALSE);
    if (target)
        SetFocus(target);
}

void TForm::Show() {
    if (!shownBefore_)
        place();
    bool first = !shownBefore_;
    shownBefore_ = true;
    Visible = true;
    ShowWindow(Handle(), SW_SHOW);
    markPhase("shown");
    SetForegroundWindow(Handle());
    if (first)
        focusFirst();
    UpdateWindow(Handle());
}

void TForm::Hide() {
    Visible = false;
    ShowWindow(Handle(), SW_HIDE);
}

int TForm::ShowModal() {
    HWND previous = GetActiveWindow();
    {
        WindowDisabler others(Handle());
        ModalResult = mrNone;
        // Modal for exactly as long as this scope, however it is left.
        struct ModalScope {
            int& depth;
            explicit ModalScope(int& d) : depth(d) { ++depth; }
            ~ModalScope() { --depth; }
        } modal(modalDepth_);
        Show();
        focusFirst();
        Application->runModalLoop([this] { return ModalResult != mrNone; });
        // The others are enabled before this one hides, so that the activation falls
        // back on them and not on some other program's window.
    }
    Hide();
    if (previous && IsWindow(previous))
        SetActiveWindow(previous);
    return ModalResult;
}

void TForm::Close() {
    if (modal())
        ModalResult = mrCancel;
    else if (Application->MainForm() == this)
        Application->Terminate();
    else
        Hide();
}
