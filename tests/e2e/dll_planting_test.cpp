// A DLL planted in the launch directory under the name of one that is loaded on
// demand must never run in the launcher, whatever the player does. The theme DLL
// is such a name: common controls 6 loads it when the first button is made.
#include "driver.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

const char plantedName[] = "uxtheme";

// Makes Wine prefer a native copy of the planted DLL in every program named
// launcher.exe, as Windows would when the file is found first. (Wine reads
// WINEDLLOVERRIDES from the environment it started with, not from the one
// CreateProcess passes on, so the per-program registry setting is used.)
class PreferNativeInLauncher {
  public:
    explicit PreferNativeInLauncher(const char* name = plantedName) : name_(name) {
        RegCreateKeyExA(HKEY_CURRENT_USER,
                        "Software\\Wine\\AppDefaults\\launcher.exe\\DllOverrides", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        RegSetValueExA(key_, name_, 0, REG_SZ, reinterpret_cast<const BYTE*>("native,builtin"), 15);
    }
    ~PreferNativeInLauncher() {
        RegDeleteValueA(key_, name_);
        RegCloseKey(key_);
    }
    PreferNativeInLauncher(const PreferNativeInLauncher&) = delete;
    PreferNativeInLauncher& operator=(const PreferNativeInLauncher&) = delete;

  private:
    const char* name_;
    HKEY key_ = nullptr;
};

void plant(const LaunchDirectory& dir, const char* name = plantedName) {
    CopyFileA((testProgramDirectory() + "\\planted_probe.dll").c_str(),
              dir.file(std::string(name) + ".dll").c_str(), FALSE);
}

std::string plantedRuns(const LaunchDirectory& dir) {
    return readFile(dir.file("planted.log"));
}

void clickButton(const Launcher& launcher, const char* caption) {
    click(centre(windowRect(launcher.button(caption))));
}

void answerBox(const Launcher& launcher, int id) {
    MessageBoxView box;
    ASSERT_TRUE(launcher.waitForMessageBox(box));
    Launcher::answer(box, id);
}

void openAboutAndFollowALink(const Launcher& launcher) {
    POINT menu = launcher.clientToScreen({15, 0});
    menu.y -= GetSystemMetrics(SM_CYMENU) / 2;
    HWND about = nullptr;
    for (int attempt = 0; attempt < 3 && !about; ++attempt) {
        click(menu);
        waitUntil([&] { return (about = launcher.findWindow("TFormWindow", "About Tarvosk")); },
                  2000);
    }
    ASSERT_NE(about, nullptr);
    Sleep(200);
    POINT link{20, 58};
    ClientToScreen(about, &link);
    click(link);
    Sleep(1000);
    for (HWND child = GetWindow(about, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (windowText(child) == "OK")
            click(centre(windowRect(child)));
    ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(about); }, 3000));
}

// Runs the program copied in as launcher.exe until it ends or the planted DLL has
// run; a host that loaded it hangs in its first call into it and is ended here.
std::string runUntilEndOrPlantedRun(const LaunchDirectory& dir) {
    HANDLE process = startLauncherProcess(dir);
    if (!process)
        return "not started";
    waitUntil([&] {
        return WaitForSingleObject(process, 0) == WAIT_OBJECT_0 || !plantedRuns(dir).empty();
    });
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 5000);
    CloseHandle(process);
    return plantedRuns(dir);
}

TEST(DllPlanting, APlantedThemeDllRunsExactlyWhenTheSearchIsNotRestricted) {
    // The same button program with and without the restriction: shows that the
    // planted name and Wine's preference for it work, so that the launcher's
    // test below can fail.
    struct Case {
        const char* program;
        bool plantedRuns;
    };
    const Case cases[] = {{"button_host_unrestricted.exe", true},
                          {"button_host_restricted.exe", false}};
    PreferNativeInLauncher preferNative;
    for (const Case& c : cases) {
        LaunchDirectory dir(LaunchDirectory::Options{false, false, c.program});
        plant(dir);
        std::string runs = runUntilEndOrPlantedRun(dir);
        EXPECT_EQ(runs.find("launcher.exe") != std::string::npos, c.plantedRuns)
            << c.program << ": " << runs;
    }
}

TEST(DllPlanting, NoActionOfTheLauncherRunsAPlantedDll) {
    PreferNativeInLauncher preferNative;
    ShellOpenCommand text("txtfile", recordingCommand());
    ShellOpenCommand web("https", recordingCommand());
    {
        LaunchDirectory dir;
        plant(dir);
        Launcher launcher(dir);
        ASSERT_NE(launcher.mainWindow(), nullptr);
        clickButton(launcher, "&Readme");
        ASSERT_TRUE(waitUntil([&] { return dir.starts().size() == 1; }));
        clickButton(launcher, "&Desktop Icon");
        answerBox(launcher, IDOK);
        openAboutAndFollowALink(launcher);
        clickButton(launcher, "&Uninstall");
        answerBox(launcher, IDYES);
        EXPECT_EQ(launcher.waitForExit(), 0);
        ASSERT_TRUE(waitUntil([&] { return dir.starts().size() == 3; })) << dir.starts().size();
        EXPECT_EQ(plantedRuns(dir), "");
    }
    {
        LaunchDirectory dir;
        plant(dir);
        Launcher launcher(dir);
        ASSERT_NE(launcher.mainWindow(), nullptr);
        clickButton(launcher, "&Single Play");
        EXPECT_EQ(launcher.waitForExit(), 0);
        ASSERT_TRUE(waitUntil([&] { return dir.starts().size() == 1; }));
        EXPECT_EQ(plantedRuns(dir), "");
    }
}

// The names below are not loaded on demand by the launcher but by the system
// once WinMain runs. Measured under Wine 8.0 with native copies preferred, the
// launcher started by this driver: a planted ole32, combase, rpcrt4 or msimg32 is
// loaded as the first window is made, whatever the DLL search allows, so the
// program cannot keep any of the four out under Wine. (Started from a Unix shell
// the same launcher loaded ole32 from the system directory.) On Windows ole32,
// combase and rpcrt4 are known DLLs, which the loader takes from the system
// directory only; msimg32 is not, and nothing but the search order guards it.
// What the launcher does hold to: it never calls into a stranger. The shell and
// COM are used only when the modules of their names come from the system
// directory; otherwise the action is refused with the stranger's file named.
TEST(DllPlanting, ALibraryOfTheSystemLoadedFromElsewhereIsNeverCalled) {
    struct Case {
        const char* name;
        bool usedByTheShell; // the shell's and COM's calls go through it
    };
    const Case cases[] = {{"ole32", true}, {"combase", true}, {"rpcrt4", true}, {"msimg32", false}};
    ShellOpenCommand text("txtfile", recordingCommand());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PreferNativeInLauncher preferNative(c.name);
        LaunchDirectory dir;
        plant(dir, c.name);
        Launcher launcher(dir);
        ASSERT_NE(launcher.mainWindow(), nullptr);
        const bool loaded = !plantedRuns(dir).empty();
        clickButton(launcher, "&Readme");
        if (loaded && c.usedByTheShell) {
            MessageBoxView box;
            ASSERT_TRUE(launcher.waitForMessageBox(box));
            EXPECT_EQ(box.text, std::string(c.name) + ".dll is loaded from " +
                                    dir.file(std::string(c.name) + ".dll") +
                                    ", not from the system directory.");
            Launcher::answer(box, IDOK);
            EXPECT_TRUE(dir.starts().empty());
        } else {
            EXPECT_TRUE(waitUntil([&] { return dir.starts().size() == 1; }));
        }
        EXPECT_TRUE(launcher.running());
    }
}

} // namespace
