#include "window_disabler.h"

namespace {

struct Collect {
    HWND keep;
    std::vector<HWND>* windows;
};

BOOL CALLBACK collect(HWND window, LPARAM param) noexcept {
    auto* c = reinterpret_cast<Collect*>(param);
    if (window != c->keep && IsWindowVisible(window) && IsWindowEnabled(window))
        c->windows->push_back(window);
    return TRUE;
}

} // namespace

WindowDisabler::WindowDisabler(HWND keep) {
    Collect c{keep, &disabled_};
    EnumThreadWindows(GetCurrentThreadId(), collect, reinterpret_cast<LPARAM>(&c));
    for (HWND window : disabled_)
        EnableWindow(window, FALSE);
}

WindowDisabler::~WindowDisabler() {
    for (HWND window : disabled_)
        if (IsWindow(window))
            EnableWindow(window, TRUE);
}
