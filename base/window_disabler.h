#pragma once
#include <windows.h>

#include <vector>

// Disables the visible, enabled top-level windows of the calling thread (all but
// `keep`) for its lifetime, as a modal window or box needs, and enables them again.
class WindowDisabler {
  public:
    explicit WindowDisabler(HWND keep = nullptr);
    ~WindowDisabler();
    WindowDisabler(const WindowDisabler&) = delete;
    WindowDisabler& operator=(const WindowDisabler&) = delete;

  private:
    std::vector<HWND> disabled_;
};
