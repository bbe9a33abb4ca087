// The real game program is a DOS program: the launcher starts it in the host's
// real DOSBox (headless here), or a DOSBox bundled with the title.
#include "driver.h"

#include <gtest/gtest.h>
#include <shellapi.h>

using namespace e2e;

namespace {

class DosGame : public ::testing::Test {
  protected:
    // DOSBox without a screen or sound card; Wine hands the environment on to it.
    void SetUp() override {
        if (!underWine())
            GTEST_SKIP() << "runs the host's DOSBox, which only Wine reaches";
        SetEnvironmentVariableA("SDL_VIDEODRIVER", "dummy");
        SetEnvironmentVariableA("SDL_AUDIODRIVER", "dummy");
    }
};

LaunchDirectory::Options dosGame(const std::string& folder = "") {
    LaunchDirectory::Options options;
    options.gameProgram = "dosgame.com";
    options.folder = folder;
    return options;
}

void clickButton(const Launcher& launcher, const char* caption) {
    click(centre(windowRect(launcher.button(caption))));
}

struct Action {
    const char* what;
    void (*act)(const Launcher&);
    const char* tail;
};

const Action actions[] = {
    {"Single Play", [](const Launcher& l) { clickButton(l, "&Single Play"); }, " /x"},
    {"Multi Play", [](const Launcher& l) { clickButton(l, "&Multi Play"); }, " /c"},
    {"double-click on the picture",
     [](const Launcher& l) {
         doubleClick(l.clientToScreen({161, 104}));
     },
     " /x"},
    {"Uninstall, Yes",
     [](const Launcher& l) {
         clickButton(l, "&Uninstall");
         MessageBoxView box;
         ASSERT_TRUE(l.waitForMessageBox(box));
         ASSERT_EQ(box.title, "Confirm");
         Launcher::answer(box, IDYES);
     },
     " /u"},
};

// The count of a test's DOSBox processes below sees a host program that a Windows
// program of the test started, so a count of 0 means something.
TEST_F(DosGame, HostProgramsStartedFromHereAreCounted) {
    LaunchDirectory dir(dosGame());
    SetEnvironmentVariableA("TARVOSK_STANDIN_LOG", dir.logPath().c_str());
    ASSERT_GT(reinterpret_cast<INT_PTR>(
                  ShellExecuteA(nullptr, "open", "Z:\\usr\\bin\\sleep", "3", nullptr, SW_HIDE)),
              32);
    EXPECT_TRUE(waitUntil([&] { return hostProcesses("sleep", dir.logPath()) == 1; }, 2500));
    EXPECT_EQ(hostProcesses("sleep", dir.logPath() + "-not"), 0);
}

TEST_F(DosGame, EachActionRunsTheGameOnceInDosBoxInTheLaunchDirectory) {
    // The folder's name stays off DOSBox's command line, so no name can break it.
    for (const std::string folder : {"", "Kelvane's Tarvosk – Spïel Ørdner"}) {
        for (const Action& a : actions) {
            LaunchDirectory dir(dosGame(folder));
            Launcher launcher(dir);
            ASSERT_NE(launcher.mainWindow(), nullptr);
            a.act(launcher);
            EXPECT_EQ(launcher.waitForExit(), 0) << a.what << " in " << dir.path();
            EXPECT_TRUE(waitUntil([&] { return !dir.dosRuns().empty(); }))
                << a.what << " in " << dir.path();
            EXPECT_TRUE(waitUntil([&] { return hostProcesses("dosbox", dir.logPath()) == 0; }))
                << "DOSBox did not end by itself after " << a.what;
            EXPECT_EQ(dir.dosRuns(), std::vector<std::string>{a.tail}) << a.what;
            EXPECT_TRUE(dir.starts().empty()) << "no Windows program ran";
        }
    }
}

TEST_F(DosGame, ADosBoxBundledWithTheTitleIsChosenOverTheHosts) {
    LaunchDirectory dir(dosGame());
    // A recording stand-in as DOSBOX\DOSBox.exe.
    std::string bundled = dir.file("DOSBOX");
    CreateDirectoryA(bundled.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((testProgramDirectory() + "\\standin.exe").c_str(),
                          (bundled + "\\DOSBox.exe").c_str(), FALSE));
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);
    clickButton(launcher, "&Multi Play");
    EXPECT_EQ(launcher.waitForExit(), 0);
    ASSERT_TRUE(waitUntil([&] { return !dir.starts().empty(); }));
    EXPECT_EQ(dir.starts(), std::vector<std::string>{"\"" + bundled +
                                                     "\\DOSBox.exe\" -noautoexec -c \"mount c .\" "
                                                     "-c \"c:\" -c \"tarvosk.com /c\" -c exit|" +
                                                     dir.path()});
    Sleep(500);
    EXPECT_TRUE(dir.dosRuns().empty()) << "the host's DOSBox ran too";
}

TEST_F(DosGame, WhatNoWindowsRunsIsReportedAndTheLauncherStays) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string text; // after the game program's full path
    };
    std::string ne(0x80, '\0');
    ne.replace(0, 2, "MZ");
    ne[0x3C] = 0x40;
    ne.replace(0x40, 2, "NE");
    const Case cases[] = {
        {"16-bit Windows", ne,
         "\n\nIt is a program for 16-bit Windows, which this version of Windows cannot run."},
        {"empty", "", "\n\nThe file is empty."},
    };
    for (const Case& c : cases) {
        LaunchDirectory dir(LaunchDirectory::Options{false, true});
        HANDLE file = CreateFileA(dir.file("tarvosk.com").c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, 0, nullptr);
        DWORD written;
        WriteFile(file, c.bytes.data(), static_cast<DWORD>(c.bytes.size()), &written, nullptr);
        CloseHandle(file);
        Launcher launcher(dir);
        ASSERT_NE(launcher.mainWindow(), nullptr);
        clickButton(launcher, "&Single Play");
        MessageBoxView box;
        ASSERT_TRUE(launcher.waitForMessageBox(box)) << c.what;
        EXPECT_EQ(box.title, "File Error") << c.what;
        std::string verb = c.bytes.empty() ? "Cannot read the file..." : "Cannot start the file...";
        EXPECT_EQ(box.text, verb + dir.file("tarvosk.com") + c.text) << c.what;
        EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
        EXPECT_EQ(box.icon, "error");
        Launcher::answer(box, IDOK);
        Sleep(300);
        EXPECT_TRUE(launcher.running()) << c.what;
        EXPECT_EQ(hostProcesses("dosbox", dir.logPath()), 0) << c.what;
    }
}

// Run alone, where the host's DOSBox is hidden (tools/without-host-dosbox.sh).
TEST_F(DosGame, WithoutDosBoxAnywhereTheLauncherSaysWhatToInstallAndStays) {
    ASSERT_EQ(GetFileAttributesA("Z:\\usr\\bin\\dosbox"), INVALID_FILE_ATTRIBUTES)
        << "the host's DOSBox is not hidden";
    LaunchDirectory dir(dosGame());
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);
    for (const char* button : {"&Single Play", "&Multi Play"}) {
        clickButton(launcher, button);
        MessageBoxView box;
        ASSERT_TRUE(launcher.waitForMessageBox(box)) << button;
        EXPECT_EQ(box.title, "DOSBox Not Found");
        EXPECT_EQ(box.text, "Tarvosk is a DOS program, which Wine cannot run by itself.\n\nTo "
                            "play it, install your distribution's dosbox package, or put DOSBox "
                            "in a folder named DOSBOX beside the launcher.");
        EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
        EXPECT_EQ(box.icon, "error");
        Launcher::answer(box, IDOK);
        Sleep(300);
        EXPECT_TRUE(launcher.running()) << button;
    }
    EXPECT_TRUE(dir.dosRuns().empty());
    EXPECT_TRUE(dir.starts().empty());
}

} // namespace
