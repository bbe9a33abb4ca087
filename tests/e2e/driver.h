#pragma once
// Drives the real launcher.exe from another process, as a player would: real
// windows, real mouse and keyboard input, real message boxes and files.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "launch_directory.h"

namespace e2e {

using support::fileExists;
using support::LaunchDirectory;
using support::readFile;
using support::testProgramDirectory;
using support::underWine;
using support::waitUntil;

std::string windowText(HWND window);
std::string className(HWND window);
RECT windowRect(HWND window);
// A child's rectangle in its parent's client coordinates.
RECT childRect(HWND child);
POINT centre(RECT r);

// Input through SendInput, in screen coordinates.
void moveMouse(POINT screen);
void click(POINT screen);
void doubleClick(POINT screen);
void pressKey(WORD key, bool alt = false);

// How many processes of the host system, outside Wine, run the program `name`
// with `mark` in their environment: the launch directory's log path, which a
// launcher passes on to all it starts, tells one test's processes from others'.
int hostProcesses(const std::string& name, const std::string& mark);

// Points how the test prefix's shell opens a class of files (HKLM, as Wine reads
// it: "txtfile", "https") at `command` while the object lives, then restores it.
class ShellOpenCommand {
  public:
    ShellOpenCommand(const std::string& fileClass, const std::string& command);
    ~ShellOpenCommand();
    ShellOpenCommand(const ShellOpenCommand&) = delete;
    ShellOpenCommand& operator=(const ShellOpenCommand&) = delete;

  private:
    HKEY key_ = nullptr;
    DWORD type_ = REG_SZ;
    std::vector<BYTE> saved_;
    bool hadValue_ = false;
};

// The command that opens a file or address with the stand-in, which records it.
std::string recordingCommand();

struct MessageBoxView {
    HWND window = nullptr;
    std::string title;
    std::string text;
    std::vector<std::string> buttons;
    // "error", "question", "warning", "information" or "none", read from the screen.
    std::string icon;
};

// Starts the program copied into `directory` as launcher.exe, with that directory as
// its working directory unless another is given; returns the process, or null when
// it could not start.
HANDLE startLauncherProcess(const LaunchDirectory& directory,
                            const std::string& workingDirectory = "");

// A running launcher, ended when the object goes if it has not ended by itself.
class Launcher {
  public:
    // Runs in `workingDirectory` when one is given: the launch directory is where a
    // launcher is started, not where it lies.
    explicit Launcher(const LaunchDirectory& directory, const std::string& workingDirectory = "");
    ~Launcher();
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    DWORD processId() const { return processId_; }
    HWND mainWindow() const { return main_; }
    // A visible top-level window of the launcher of this window class and title.
    HWND findWindow(const std::string& windowClass, const std::string& title = "") const;
    std::vector<HWND> visibleWindows() const;
    HWND button(const std::string& caption) const;
    // Screen point of a point in the main window's client area.
    POINT clientToScreen(POINT client) const;
    HWND focus() const;

    // Waits for one of the launcher's message boxes and reads it.
    bool waitForMessageBox(MessageBoxView& view, int ms = 10000) const;
    // Presses a box's button by its id (IDOK, IDYES, ...).
    static void answer(const MessageBoxView& box, int id);

    bool running() const;
    // Waits for the process to end; returns its exit code, or -1 on time-out.
    int waitForExit(int ms = 10000) const;

  private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    DWORD threadId_ = 0;
    HWND main_ = nullptr;
};

std::string readIcon(HWND box);

} // namespace e2e
