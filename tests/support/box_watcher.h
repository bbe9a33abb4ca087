#pragma once
// For tests that run the real message boxes in their own process.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Finds the message boxes this process puts up, notes what they show and presses
// OK, so that the real MessageBoxA runs and returns.
class BoxWatcher {
  public:
    struct Box {
        std::string text, title;
        HWND owner;
        std::vector<int> buttons;
        bool icon;
    };

    BoxWatcher() : thread_([this] { watch(); }) {}
    ~BoxWatcher() {
        stop_ = true;
        thread_.join();
    }
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    std::vector<Box> boxes() {
        std::lock_guard<std::mutex> lock(mutex_);
        return boxes_;
    }

  private:
    static std::string textOf(HWND window) {
        char text[1024] = "";
        GetWindowTextA(window, text, sizeof text);
        return text;
    }

    static BOOL CALLBACK button(HWND child, LPARAM param) noexcept {
        char name[32] = "";
        GetClassNameA(child, name, sizeof name);
        try {
            if (lstrcmpiA(name, "Button") == 0)
                reinterpret_cast<std::vector<int>*>(param)->push_back(GetDlgCtrlID(child));
        } catch (...) {
            return FALSE;
        }
        return TRUE;
    }

    static BOOL CALLBACK found(HWND window, LPARAM param) noexcept {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        char name[16] = "";
        GetClassNameA(window, name, sizeof name);
        try {
            if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
                lstrcmpA(name, "#32770") == 0)
                reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
        } catch (...) {
            return FALSE;
        }
        return TRUE;
    }

    void record(HWND box) {
        Box seen{textOf(GetDlgItem(box, 0xFFFF)), textOf(box), GetWindow(box, GW_OWNER), {}, false};
        EnumChildWindows(box, button, reinterpret_cast<LPARAM>(&seen.buttons));
        if (HWND icon = GetDlgItem(box, 0x440))
            seen.icon = SendMessageA(icon, STM_GETICON, 0, 0) != 0;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            boxes_.push_back(seen);
        }
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 500 && IsWindow(box); ++i)
            Sleep(5);
    }

    void watch() {
        while (!stop_) {
            std::vector<HWND> windows;
            EnumWindows(found, reinterpret_cast<LPARAM>(&windows));
            for (HWND box : windows)
                record(box);
            Sleep(5);
        }
    }

    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Box> boxes_;
    std::thread thread_;
};
