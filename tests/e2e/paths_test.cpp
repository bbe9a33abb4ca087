// Launch directories whose names the command interpreter, the shell or a code
// page could mangle: every action must pass them on whole. This program runs with
// the launcher's own manifest (the UTF-8 code page), so that its 8-bit calls
// carry any name just as the launcher's do.
#include "desktop.h"
#include "driver.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

struct Folder {
    const char* what;
    std::string name;
};

const Folder folders[] = {
    {"spaces, apostrophe and & % ^", "Tarvosk's Game & 100% ^fun"},
    {"Cyrillic and CJK", "Кириллица_日本語"},
    {"both at once", "Игра & 100% ^日本 'x'"},
};

LaunchDirectory::Options in(const Folder& folder, bool game = true, bool readme = true) {
    LaunchDirectory::Options options;
    options.game = game;
    options.readme = readme;
    options.folder = folder.name;
    return options;
}

void clickButton(const Launcher& launcher, const char* caption) {
    click(centre(windowRect(launcher.button(caption))));
}

// The stand-in's record of one start: its command line, then where it ran.
std::string start(const std::string& program, const std::string& parameters,
                  const LaunchDirectory& dir) {
    return "\"" + program + "\" " + parameters + "|" + dir.path();
}

// Waits for the launcher's next box, checks its title and text, and closes it.
void expectBox(const Launcher& launcher, const std::string& title, const std::string& text,
               int answer = IDOK) {
    MessageBoxView box;
    ASSERT_TRUE(launcher.waitForMessageBox(box)) << "no box \"" << title << "\"";
    EXPECT_EQ(box.title, title);
    EXPECT_EQ(box.text, text);
    Launcher::answer(box, answer);
}

// Waits for exactly one start and returns it.
std::vector<std::string> startsAfterExit(const Launcher& launcher, const LaunchDirectory& dir) {
    EXPECT_EQ(launcher.waitForExit(), 0);
    waitUntil([&] { return !dir.starts().empty(); });
    Sleep(200); // a second start, if there were one, would have logged by now
    return dir.starts();
}

const char success[] = "A shortcut to 'Tarvosk' has been created on your desktop";

TEST(SpecialFolderNames, PlayStartsTheGameThereWithItsSwitch) {
    struct Action {
        const char* button;
        const char* parameters;
    };
    const Action actions[] = {{"&Single Play", "/x"}, {"&Multi Play", "/c"}};
    for (const Folder& folder : folders) {
        for (const Action& action : actions) {
            SCOPED_TRACE(std::string(folder.what) + ", " + action.button);
            LaunchDirectory dir(in(folder));
            Launcher launcher(dir);
            ASSERT_NE(launcher.mainWindow(), nullptr);
            clickButton(launcher, action.button);
            EXPECT_EQ(
                startsAfterExit(launcher, dir),
                std::vector<std::string>{start(dir.file("tarvosk.com"), action.parameters, dir)});
        }
    }
}

TEST(SpecialFolderNames, ReadmeOpensTheReadmeThere) {
    ShellOpenCommand association("txtfile", recordingCommand());
    for (const Folder& folder : folders) {
        SCOPED_TRACE(folder.what);
        LaunchDirectory dir(in(folder));
        Launcher launcher(dir);
        ASSERT_NE(launcher.mainWindow(), nullptr);
        clickButton(launcher, "&Readme");
        ASSERT_TRUE(waitUntil([&] { return !dir.starts().empty(); }));
        std::string opened = dir.starts().front();
        EXPECT_NE(opened.find(" \"" + dir.file("tarvosk.txt") + "\"|"), std::string::npos)
            << opened;
        Sleep(300);
        EXPECT_TRUE(launcher.running());
    }
}

TEST(SpecialFolderNames, MissingGameIsReportedByItsFullPath) {
    for (const Folder& folder : folders) {
        SCOPED_TRACE(folder.what);
        LaunchDirectory dir(in(folder, false));
        Launcher launcher(dir);
        ASSERT_NE(launcher.mainWindow(), nullptr);
        clickButton(launcher, "&Single Play");
        expectBox(launcher, "File Error", "Cannot find the file..." + dir.file("tarvosk.com"));
        Sleep(300);
        EXPECT_TRUE(launcher.running());
        EXPECT_TRUE(dir.starts().empty());
    }
}

TEST(SpecialFolderNames, DesktopIconPointsThereAndUninstallRemovesItAndHandsOver) {
    for (const Folder& folder : folders) {
        SCOPED_TRACE(folder.what);
        DesktopShortcut shortcut;
        LaunchDirectory dir(in(folder));
        Launcher launcher(dir);
        ASSERT_NE(launcher.mainWindow(), nullptr);

        clickButton(launcher, "&Desktop Icon");
        expectBox(launcher, "Success", success);
        ShortcutView link = readShortcut(shortcut.path());
        ASSERT_EQ(link.loaded, S_OK) << shortcut.path();
        EXPECT_EQ(link.target, dir.file("launcher.exe"));
        EXPECT_EQ(link.workingDirectory, dir.path() + "\\");

        clickButton(launcher, "&Uninstall");
        MessageBoxView question;
        ASSERT_TRUE(launcher.waitForMessageBox(question));
        ASSERT_EQ(question.title, "Confirm");
        Launcher::answer(question, IDYES);
        EXPECT_EQ(startsAfterExit(launcher, dir),
                  std::vector<std::string>{start(dir.file("tarvosk.com"), "/u", dir)});
        EXPECT_FALSE(shortcut.exists());
    }
}

// Fewer than MAX_PATH characters, but more than MAX_PATH bytes in UTF-8: the 8-bit
// working directory does not fit the settings' buffer, so names are relative to it,
// and the launcher's own file name must not be cut short either.
class EightBitNameLongerThanAPath : public testing::Test {
  protected:
    static std::string longName() {
        std::string name;
        for (int i = 0; i < 12; ++i)
            name += "Кириллица_";
        return name;
    }

    void SetUp() override {
        ASSERT_GT(dir_.path().size(), size_t(MAX_PATH));
        ASSERT_LT(MultiByteToWideChar(CP_ACP, 0, dir_.file("launcher.exe").c_str(), -1, nullptr, 0),
                  MAX_PATH);
    }

    LaunchDirectory dir_{in(Folder{"", longName()})};
};

TEST_F(EightBitNameLongerThanAPath, PlayStartsTheGameByItsRelativeName) {
    Launcher launcher(dir_);
    ASSERT_NE(launcher.mainWindow(), nullptr);
    clickButton(launcher, "&Single Play");
    EXPECT_EQ(startsAfterExit(launcher, dir_),
              std::vector<std::string>{start("tarvosk.com", "/x", dir_)});
}

TEST_F(EightBitNameLongerThanAPath, DesktopIconPointsAtTheWholeName) {
    DesktopShortcut shortcut;
    Launcher launcher(dir_);
    ASSERT_NE(launcher.mainWindow(), nullptr);
    clickButton(launcher, "&Desktop Icon");
    expectBox(launcher, "Success", success);
    ShortcutView link = readShortcut(shortcut.path());
    ASSERT_EQ(link.loaded, S_OK) << shortcut.path();
    EXPECT_EQ(link.target, dir_.file("launcher.exe"));
    EXPECT_EQ(link.workingDirectory, dir_.path() + "\\");
}

} // namespace
