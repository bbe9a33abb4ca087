#include "desktop.h"
#include "driver.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

using namespace e2e;

namespace {

struct ExpectedBox {
    const char* title;
    std::string text;
    std::vector<std::string> buttons;
    const char* icon;
};

const ExpectedBox success{
    "Success", "A shortcut to 'Tarvosk' has been created on your desktop", {"OK"}, "information"};
const ExpectedBox failure{
    "Failure", "Could not create a shortcut to 'Tarvosk' on your desktop", {"OK"}, "error"};
const ExpectedBox saveError{"Error", "IPersistFile->Save() Error", {"OK"}, "none"};
const ExpectedBox lookupError{
    "Error", "Could not get the location of a special folder", {"OK"}, "none"};
const ExpectedBox confirmation{"Confirm",
                               "This is not a wise move...\n\nAre you definately sure you want "
                               "to wipe 'Tarvosk' from your system?",
                               {"&Yes", "&No", "Cancel"},
                               "question"};

// Waits for the launcher's next box and checks it against `expected`, and that
// the main window is disabled exactly when the application owns the box.
MessageBoxView expectBox(const Launcher& launcher, const ExpectedBox& expected, bool mainDisabled) {
    MessageBoxView box;
    EXPECT_TRUE(launcher.waitForMessageBox(box)) << "no box \"" << expected.title << "\"";
    EXPECT_EQ(box.title, expected.title);
    EXPECT_EQ(box.text, expected.text);
    EXPECT_EQ(box.buttons, expected.buttons);
    EXPECT_EQ(box.icon, expected.icon);
    EXPECT_EQ(IsWindowEnabled(launcher.mainWindow()) == FALSE, mainDisabled)
        << "main window while \"" << box.title << "\" is up";
    return box;
}

// Lets a box that should not come have its chance to.
void expectNoMoreBoxes(const Launcher& launcher) {
    MessageBoxView box;
    EXPECT_FALSE(launcher.waitForMessageBox(box, 700))
        << "unexpected box \"" << box.title << "\": " << box.text;
}

void clickButton(const Launcher& launcher, const char* caption) {
    click(centre(windowRect(launcher.button(caption))));
}

std::string uninstallStart(const LaunchDirectory& dir) {
    return "\"" + dir.file("tarvosk.com") + "\" /u|" + dir.path();
}

std::string withSeparator(const std::string& directory) {
    return directory.back() == '\\' ? directory : directory + "\\";
}

TEST(DesktopIcon, SavesAShortcutToTheLauncherAndSaysSoEachTime) {
    DesktopShortcut shortcut;
    LaunchDirectory dir;
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);

    for (int attempt = 1; attempt <= 2; ++attempt) {
        SCOPED_TRACE("click " + std::to_string(attempt));
        if (attempt == 2)
            shortcut.place(); // the second save must overwrite this
        clickButton(launcher, "&Desktop Icon");
        MessageBoxView box = expectBox(launcher, success, true);
        Launcher::answer(box, IDOK);
        expectNoMoreBoxes(launcher);
        EXPECT_TRUE(IsWindowEnabled(launcher.mainWindow()));
        // The window that was active before the box is active again, with its focus.
        EXPECT_EQ(launcher.focus(), launcher.button("&Desktop Icon"));
        EXPECT_EQ(GetForegroundWindow(), launcher.mainWindow());

        ShortcutView link = readShortcut(shortcut.path());
        ASSERT_EQ(link.loaded, S_OK) << shortcut.path();
        EXPECT_EQ(link.target, dir.file("launcher.exe"));
        EXPECT_EQ(link.workingDirectory, withSeparator(dir.path()));
        EXPECT_EQ(link.description, "Tarvosk");
    }
    EXPECT_TRUE(launcher.running());
    EXPECT_TRUE(dir.starts().empty());
}

TEST(DesktopIcon, AFailedSaveIsReportedByTheMakerThenAsFailure) {
    // Under Wine a desktop directory that is absent makes the folder lookup fail
    // instead (see UnresolvableDesktop); a directory in the link file's place makes
    // the save itself fail.
    DesktopShortcut shortcut;
    ASSERT_TRUE(CreateDirectoryA(shortcut.path().c_str(), nullptr));
    LaunchDirectory dir;
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);

    clickButton(launcher, "&Desktop Icon");
    Launcher::answer(expectBox(launcher, saveError, false), IDOK);
    Launcher::answer(expectBox(launcher, failure, true), IDOK);
    expectNoMoreBoxes(launcher);
    EXPECT_TRUE(launcher.running());
}

// Two launchers saving the same shortcut at the same moment: each finds its
// shortcut saved, and the file is always a whole link to one of them.
TEST(DesktopIcon, TwoLaunchersAtOnceBothSucceed) {
    DesktopShortcut shortcut;
    LaunchDirectory first, second;
    Launcher a(first), b(second);
    ASSERT_NE(a.mainWindow(), nullptr);
    ASSERT_NE(b.mainWindow(), nullptr);
    for (int round = 1; round <= 15; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Posted back to back, so that both saves overlap.
        PostMessageA(a.button("&Desktop Icon"), BM_CLICK, 0, 0);
        PostMessageA(b.button("&Desktop Icon"), BM_CLICK, 0, 0);
        for (const Launcher* launcher : {&a, &b}) {
            MessageBoxView box;
            ASSERT_TRUE(launcher->waitForMessageBox(box));
            EXPECT_EQ(box.title, success.title) << box.text;
            EXPECT_EQ(box.text, success.text);
            Launcher::answer(box, IDOK);
        }
        ShortcutView link = readShortcut(shortcut.path());
        ASSERT_EQ(link.loaded, S_OK);
        EXPECT_TRUE(link.target == first.file("launcher.exe") ||
                    link.target == second.file("launcher.exe"))
            << link.target;
    }
    // Nothing but the shortcut is left on the desktop by either.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((shortcut.path() + "-*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
}

// Makes `link` a symbolic link to `target`: through the system when it can, else
// with the host's ln, which Wine starts as it would any program. (Wine 8.0's
// CreateSymbolicLinkA says it succeeded and makes a file that leads nowhere.)
bool symbolicLink(const std::string& link, const std::string& target) {
    auto leadsToTarget = [&] { return readFile(link) == readFile(target); };
    if (CreateSymbolicLinkA(link.c_str(), target.c_str(), 0) && leadsToTarget())
        return true;
    DeleteFileA(link.c_str());
    char unixLink[MAX_PATH * 2], unixTarget[MAX_PATH * 2];
    using UnixName = char*(CDECL*)(LPCWSTR);
    auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return false;
    for (auto [from, to] : {std::pair<const std::string*, char*>{&link, unixLink},
                            std::pair<const std::string*, char*>{&target, unixTarget}}) {
        std::wstring wide(from->begin(), from->end());
        char* name = unixName(wide.c_str());
        if (!name)
            return false;
        lstrcpynA(to, name, MAX_PATH * 2);
        HeapFree(GetProcessHeap(), 0, name);
    }
    std::string commandLine = std::string("ln -s \"") + unixTarget + "\" \"" + unixLink + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA("Z:\\bin\\ln", &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info))
        return false;
    WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return waitUntil(leadsToTarget, 2000);
}

// A Tarvosk.lnk that is another name of some other file: the shortcut replaces
// the name, and the other file keeps its bytes.
TEST(DesktopIcon, AShortcutThatIsALinkToAnotherFileIsReplacedNotWrittenThrough) {
    struct Case {
        const char* what;
        std::function<bool(const std::string&, const std::string&)> link;
    };
    const Case cases[] = {
        {"hard link",
         [](const std::string& link, const std::string& target) {
             return CreateHardLinkA(link.c_str(), target.c_str(), nullptr) != FALSE;
         }},
        {"symbolic link", symbolicLink},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DesktopShortcut shortcut;
        LaunchDirectory dir;
        const std::string other = dir.file("other.dat");
        const std::string bytes = "the player's own file, not a shortcut";
        HANDLE h = CreateFileA(other.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
        ASSERT_TRUE(c.link(shortcut.path(), other));
        ASSERT_EQ(readFile(shortcut.path()), bytes);

        Launcher launcher(dir);
        ASSERT_NE(launcher.mainWindow(), nullptr);
        clickButton(launcher, "&Desktop Icon");
        Launcher::answer(expectBox(launcher, success, true), IDOK);
        EXPECT_EQ(readFile(other), bytes);
        ShortcutView link = readShortcut(shortcut.path());
        ASSERT_EQ(link.loaded, S_OK);
        EXPECT_EQ(link.target, dir.file("launcher.exe"));
    }
}

// Clicks Uninstall and checks the question it asks.
MessageBoxView askToUninstall(const Launcher& launcher) {
    clickButton(launcher, "&Uninstall");
    return expectBox(launcher, confirmation, true);
}

TEST(Uninstall, AnyAnswerButYesChangesNothing) {
    struct Case {
        const char* what;
        std::function<void(const MessageBoxView&)> answer;
    };
    const Case cases[] = {
        {"No", [](const MessageBoxView& box) { Launcher::answer(box, IDNO); }},
        {"Cancel", [](const MessageBoxView& box) { Launcher::answer(box, IDCANCEL); }},
        {"box closed",
         [](const MessageBoxView& box) {
             PostMessageA(box.window, WM_CLOSE, 0, 0);
             waitUntil([&] { return !IsWindow(box.window) || !IsWindowVisible(box.window); });
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DesktopShortcut shortcut;
        shortcut.place();
        LaunchDirectory dir;
        Launcher launcher(dir);
        ASSERT_NE(launcher.mainWindow(), nullptr);

        c.answer(askToUninstall(launcher));
        expectNoMoreBoxes(launcher);
        EXPECT_TRUE(launcher.running());
        EXPECT_TRUE(IsWindowEnabled(launcher.mainWindow()));
        EXPECT_TRUE(shortcut.exists());
        EXPECT_TRUE(dir.starts().empty());
    }
}

TEST(Uninstall, YesRemovesAnyShortcutAndHandsOverToTheGame) {
    for (bool hadShortcut : {true, false}) {
        SCOPED_TRACE(hadShortcut ? "with a shortcut" : "without a shortcut");
        DesktopShortcut shortcut;
        if (hadShortcut)
            shortcut.place();
        LaunchDirectory dir;
        Launcher launcher(dir);
        ASSERT_NE(launcher.mainWindow(), nullptr);

        Launcher::answer(askToUninstall(launcher), IDYES);
        // Any box now would hold the launcher up before it ends.
        EXPECT_EQ(launcher.waitForExit(), 0);
        EXPECT_FALSE(shortcut.exists());
        ASSERT_TRUE(waitUntil([&] { return !dir.starts().empty(); }));
        EXPECT_EQ(dir.starts(), std::vector<std::string>{uninstallStart(dir)});
    }
}

TEST(Uninstall, YesWithTheGameMissingStillRemovesTheShortcut) {
    DesktopShortcut shortcut;
    shortcut.place();
    LaunchDirectory dir(LaunchDirectory::Options{false, true});
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);

    Launcher::answer(askToUninstall(launcher), IDYES);
    const ExpectedBox notFound{
        "File Error", "Cannot find the file..." + dir.file("tarvosk.com"), {"OK"}, "error"};
    MessageBoxView box = expectBox(launcher, notFound, false);
    EXPECT_FALSE(shortcut.exists());
    Launcher::answer(box, IDOK);
    expectNoMoreBoxes(launcher);
    EXPECT_TRUE(launcher.running());
}

TEST(DesktopIconThenUninstall, UninstallRemovesTheShortcutThatDesktopIconMade) {
    DesktopShortcut shortcut;
    LaunchDirectory dir;
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);

    clickButton(launcher, "&Desktop Icon");
    Launcher::answer(expectBox(launcher, success, true), IDOK);
    ASSERT_EQ(readShortcut(shortcut.path()).loaded, S_OK);

    Launcher::answer(askToUninstall(launcher), IDYES);
    EXPECT_EQ(launcher.waitForExit(), 0);
    EXPECT_FALSE(shortcut.exists());
    EXPECT_TRUE(waitUntil([&] { return !dir.starts().empty(); }));
}

// One value of the current user's shell folder keys, put back as it was found.
class RegistryValue {
  public:
    RegistryValue(const char* key, const char* name) : name_(name) {
        RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                        nullptr);
        DWORD size = 0;
        had_ = RegQueryValueExA(key_, name_, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS;
        saved_.resize(size);
        if (had_)
            had_ = RegQueryValueExA(key_, name_, nullptr, &type_, saved_.data(), &size) ==
                   ERROR_SUCCESS;
    }
    ~RegistryValue() {
        if (had_)
            RegSetValueExA(key_, name_, 0, type_, saved_.data(), static_cast<DWORD>(saved_.size()));
        else
            RegDeleteValueA(key_, name_);
        RegCloseKey(key_);
    }
    RegistryValue(const RegistryValue&) = delete;
    RegistryValue& operator=(const RegistryValue&) = delete;

    void set(DWORD type, const std::string& value) {
        RegSetValueExA(key_, name_, 0, type, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
    }

  private:
    HKEY key_ = nullptr;
    const char* name_;
    DWORD type_ = REG_NONE;
    std::vector<BYTE> saved_;
    bool had_ = false;
};

// A drive letter that the prefix does not map.
std::string unmappedDrive() {
    DWORD drives = GetLogicalDrives();
    for (char letter = 'Q'; letter <= 'W'; ++letter)
        if (!(drives & (1u << (letter - 'A'))))
            return std::string(1, letter) + ":";
    return "";
}

// The user's desktop moved to a drive that is not there, as a profile redirected
// to a disconnected share would be: the shell then cannot locate the folder. The
// launcher runs at the root of drive X:, where a name built on an empty folder
// would land.
class UnresolvableDesktop : public testing::Test {
  protected:
    void SetUp() override {
        std::string drive = unmappedDrive();
        ASSERT_FALSE(drive.empty());
        userShellFolder_.set(REG_EXPAND_SZ, drive + "\\Desktop");
        ASSERT_EQ(desktopFolder(), "") << "the desktop still resolves";
    }

    DesktopShortcut shortcut_; // cleared while the desktop still resolves
    RegistryValue userShellFolder_{
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", "Desktop"};
    // Wine copies what it resolves into Shell Folders, so that one goes back too.
    RegistryValue shellFolder_{
        "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop"};
    LaunchDirectory dir_{LaunchDirectory::Options{true, false}, "X:\\"};
    // Where a link file named on an empty folder would land.
    ClearedPath atRoot_{"X:\\Tarvosk.lnk"};
};

TEST_F(UnresolvableDesktop, DesktopIconSaysSoThenFailsAndWritesNothing) {
    Launcher launcher(dir_);
    ASSERT_NE(launcher.mainWindow(), nullptr);

    clickButton(launcher, "&Desktop Icon");
    Launcher::answer(expectBox(launcher, lookupError, false), IDOK);
    Launcher::answer(expectBox(launcher, failure, true), IDOK);
    expectNoMoreBoxes(launcher);
    EXPECT_TRUE(launcher.running());
    EXPECT_FALSE(atRoot_.exists());
    EXPECT_FALSE(shortcut_.exists());
}

TEST_F(UnresolvableDesktop, UninstallDeletesNothingAndStillHandsOver) {
    // The name an empty folder would give, in the capitals Uninstall uses.
    ClearedPath decoy("X:\\Tarvosk.LNK");
    decoy.place();
    Launcher launcher(dir_);
    ASSERT_NE(launcher.mainWindow(), nullptr);

    Launcher::answer(askToUninstall(launcher), IDYES);
    Launcher::answer(expectBox(launcher, lookupError, false), IDOK);
    EXPECT_EQ(launcher.waitForExit(), 0);
    EXPECT_TRUE(decoy.exists());
    ASSERT_TRUE(waitUntil([&] { return !dir_.starts().empty(); }));
    EXPECT_EQ(dir_.starts(), std::vector<std::string>{uninstallStart(dir_)});
}

} // namespace
