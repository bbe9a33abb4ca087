#include "driver.h"

#include <algorithm>

namespace e2e {

std::string windowText(HWND window) {
    char buffer[1024] = "";
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

std::string className(HWND window) {
    char buffer[256] = "";
    GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

RECT windowRect(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

RECT childRect(HWND child) {
    RECT r = windowRect(child);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

POINT centre(RECT r) {
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

namespace {

void sendMouse(POINT screen, DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

void sendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

struct Found {
    DWORD processId;
    std::function<bool(HWND)> accept;
    std::vector<HWND> windows;
};

BOOL CALLBACK collect(HWND window, LPARAM param) {
    auto* found = reinterpret_cast<Found*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == found->processId && IsWindowVisible(window) && found->accept(window))
        found->windows.push_back(window);
    return TRUE;
}

std::vector<HWND> topLevelWindows(DWORD processId, std::function<bool(HWND)> accept) {
    Found found{processId, std::move(accept), {}};
    EnumWindows(collect, reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

} // namespace

void moveMouse(POINT screen) {
    sendMouse(screen, 0);
}

void click(POINT screen) {
    moveMouse(screen);
    Sleep(50);
    sendMouse(screen, MOUSEEVENTF_LEFTDOWN);
    sendMouse(screen, MOUSEEVENTF_LEFTUP);
}

void doubleClick(POINT screen) {
    moveMouse(screen);
    Sleep(50);
    for (int i = 0; i < 2; ++i) {
        sendMouse(screen, MOUSEEVENTF_LEFTDOWN);
        sendMouse(screen, MOUSEEVENTF_LEFTUP);
    }
}

void pressKey(WORD key, bool alt) {
    if (alt)
        sendKey(VK_MENU, false);
    sendKey(key, false);
    sendKey(key, true);
    if (alt)
        sendKey(VK_MENU, true);
}

int hostProcesses(const std::string& name, const std::string& mark) {
    // Wine shows the host's /proc on drive Z:.
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return -1;
    do {
        std::string pid = found.cFileName;
        if (pid.find_first_not_of("0123456789") == std::string::npos &&
            readFile("Z:\\proc\\" + pid + "\\comm") == name + "\n" &&
            readFile("Z:\\proc\\" + pid + "\\environ").find(mark) != std::string::npos)
            ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

ShellOpenCommand::ShellOpenCommand(const std::string& fileClass, const std::string& command) {
    std::string key = "Software\\Classes\\" + fileClass + "\\shell\\open\\command";
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
    DWORD size = 0;
    if (RegQueryValueExA(key_, nullptr, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
        saved_.resize(size);
        hadValue_ =
            RegQueryValueExA(key_, nullptr, nullptr, &type_, saved_.data(), &size) == ERROR_SUCCESS;
        saved_.resize(size);
    }
    RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                   static_cast<DWORD>(command.size() + 1));
}

ShellOpenCommand::~ShellOpenCommand() {
    if (hadValue_)
        RegSetValueExA(key_, nullptr, 0, type_, saved_.data(), static_cast<DWORD>(saved_.size()));
    else
        RegDeleteValueA(key_, nullptr);
    RegCloseKey(key_);
}

std::string recordingCommand() {
    return "\"" + testProgramDirectory() + "\\standin.exe\" \"%1\"";
}

HANDLE startLauncherProcess(const LaunchDirectory& directory, const std::string& workingDirectory) {
    std::string exe = directory.file("launcher.exe");
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        workingDirectory.empty() ? directory.path().c_str()
                                                 : workingDirectory.c_str(),
                        &startup, &info))
        return nullptr;
    CloseHandle(info.hThread);
    return info.hProcess;
}

Launcher::Launcher(const LaunchDirectory& directory, const std::string& workingDirectory) {
    SetEnvironmentVariableA("TARVOSK_STANDIN_LOG", directory.logPath().c_str());
    process_ = startLauncherProcess(directory, workingDirectory);
    if (!process_)
        return;
    processId_ = GetProcessId(process_);
    waitUntil([&] {
        main_ = findWindow("TFormWindow");
        return main_ != nullptr || findWindow("#32770") != nullptr || !running();
    });
    if (main_)
        threadId_ = GetWindowThreadProcessId(main_, nullptr);
    // Let the first paint and focus settle before the test starts giving input.
    Sleep(150);
}

Launcher::~Launcher() {
    if (!process_)
        return;
    if (running()) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

std::vector<HWND> Launcher::visibleWindows() const {
    return topLevelWindows(processId_, [](HWND) { return true; });
}

HWND Launcher::findWindow(const std::string& windowClass, const std::string& title) const {
    auto found = topLevelWindows(processId_, [&](HWND w) {
        return className(w) == windowClass && (title.empty() || windowText(w) == title);
    });
    return found.empty() ? nullptr : found.front();
}

HWND Launcher::button(const std::string& caption) const {
    for (HWND child = GetWindow(main_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (windowText(child) == caption)
            return child;
    return nullptr;
}

POINT Launcher::clientToScreen(POINT client) const {
    ClientToScreen(main_, &client);
    return client;
}

HWND Launcher::focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(threadId_, &info);
    return info.hwndFocus;
}

bool Launcher::waitForMessageBox(MessageBoxView& view, int ms) const {
    HWND box = nullptr;
    if (!waitUntil([&] { return (box = findWindow("#32770")) != nullptr; }, ms))
        return false;
    Sleep(300); // painted before its icon is read off the screen
    view = MessageBoxView{};
    view.window = box;
    view.title = windowText(box);
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (className(child) == "Static" && GetDlgCtrlID(child) == 0xFFFF)
            view.text = windowText(child);
        else if (className(child) == "Button")
            view.buttons.push_back(windowText(child));
    }
    view.icon = readIcon(box);
    return true;
}

void Launcher::answer(const MessageBoxView& box, int id) {
    PostMessageA(box.window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box.window, id)));
    waitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); });
}

bool Launcher::running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

int Launcher::waitForExit(int ms) const {
    if (!process_ || WaitForSingleObject(process_, ms) != WAIT_OBJECT_0)
        return -1;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return static_cast<int>(code);
}

std::string readIcon(HWND box) {
    HWND iconStatic = GetDlgItem(box, 0x440);
    if (!iconStatic)
        return "none";
    RECT r = windowRect(iconStatic);
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = GetDC(nullptr);
    HDC shown = CreateCompatibleDC(screen);
    HBITMAP shownBitmap = CreateCompatibleBitmap(screen, w, h);
    SelectObject(shown, shownBitmap);
    BitBlt(shown, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    COLORREF background = GetPixel(shown, 0, 0);

    struct Candidate {
        const char* name;
        LPCSTR id;
    };
    const Candidate candidates[] = {{"error", IDI_HAND},
                                    {"question", IDI_QUESTION},
                                    {"warning", IDI_EXCLAMATION},
                                    {"information", IDI_ASTERISK}};
    std::string result = "none";
    HDC drawn = CreateCompatibleDC(screen);
    HBITMAP drawnBitmap = CreateCompatibleBitmap(screen, w, h);
    SelectObject(drawn, drawnBitmap);
    for (const Candidate& c : candidates) {
        RECT all{0, 0, w, h};
        HBRUSH brush = CreateSolidBrush(background);
        FillRect(drawn, &all, brush);
        DeleteObject(brush);
        DrawIconEx(drawn, 0, 0, LoadIconA(nullptr, c.id), w, h, 0, nullptr, DI_NORMAL);
        int differing = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                differing += GetPixel(drawn, x, y) != GetPixel(shown, x, y);
        if (differing == 0)
            result = c.name;
    }
    DeleteDC(drawn);
    DeleteObject(drawnBitmap);
    DeleteDC(shown);
    DeleteObject(shownBitmap);
    ReleaseDC(nullptr, screen);
    return result;
}

} // namespace e2e
