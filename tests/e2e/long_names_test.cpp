// A launch directory whose own name fits a path while the names of its files do
// not. Wine starts a program in such a directory when the program itself lies
// elsewhere, so the real launcher is started from a short folder with a working
// directory of 250 characters that holds the game program and the readme.
#include "driver.h"
#include "long_folder.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

void clickButton(const Launcher& launcher, const char* caption) {
    click(centre(windowRect(launcher.button(caption))));
}

struct Action {
    const char* button;
    const char* file;
};
const Action actions[] = {{"&Readme", "tarvosk.txt"}, {"&Single Play", "tarvosk.com"}};

// The launcher in a short folder; the launch directory, its working directory,
// holding the stand-in as tarvosk.com and a readme.
class LongLaunchDirectory : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(launch_.made());
        ASSERT_TRUE(launch_.copy(testProgramDirectory() + "\\standin.exe", "tarvosk.com"));
        ASSERT_TRUE(launch_.write("tarvosk.txt", "Tarvosk\r\n"));
        ASSERT_GT(launch_.file("tarvosk.com").size(), size_t(MAX_PATH));
    }

    ShellOpenCommand text_{"txtfile", recordingCommand()};
    LaunchDirectory home_{LaunchDirectory::Options{false, false}};
    LongFolder launch_{"long_names_test", 250};
};

// Single Play is not started here: Wine 8.0 makes a new process's image name from
// an uninitialised buffer whenever the file's long name passes MAX_PATH, and in
// the launcher that buffer holds the long working directory, so the start fails
// as "not found" whatever name the runner hands over (the runner's own test shows
// the short name reaching the shell). A document goes to its viewer's command
// line, whose image name is short.
TEST_F(LongLaunchDirectory, ReadmeOpensTheReadmeThere) {
    const std::string shortFolder = launch_.shortPath();
    ASSERT_FALSE(shortFolder.empty());
    Launcher launcher(home_, launch_.path());
    ASSERT_NE(launcher.mainWindow(), nullptr);
    clickButton(launcher, "&Readme");
    ASSERT_TRUE(waitUntil([&] { return home_.starts().size() == 1; }))
        << "nothing started; box: " << [&] {
               MessageBoxView box;
               return launcher.waitForMessageBox(box, 100) ? box.text : std::string("none");
           }();
    // The readme under the name that fits, opened in the launch directory.
    const std::string start = home_.starts().back();
    EXPECT_NE(start.find("\"" + shortFolder + "\\tarvosk.txt\""), std::string::npos) << start;
    EXPECT_EQ(start.substr(start.rfind('|') + 1), launch_.path());
    MessageBoxView box;
    EXPECT_FALSE(launcher.waitForMessageBox(box, 500)) << box.text;
    EXPECT_TRUE(launcher.running());
}

// A DOS game program, the real one of the title, is read by the name that fits
// and runs in the host's DOSBox in the launch directory.
TEST_F(LongLaunchDirectory, ADosGameProgramPlaysInDosBoxThere) {
    if (!underWine())
        GTEST_SKIP() << "runs the host's DOSBox, which only Wine reaches";
    SetEnvironmentVariableA("SDL_VIDEODRIVER", "dummy");
    SetEnvironmentVariableA("SDL_AUDIODRIVER", "dummy");
    ASSERT_TRUE(launch_.copy(testProgramDirectory() + "\\dosgame.com", "tarvosk.com"));
    const std::string shortFolder = launch_.shortPath();
    ASSERT_FALSE(shortFolder.empty());
    Launcher launcher(home_, launch_.path());
    ASSERT_NE(launcher.mainWindow(), nullptr);
    clickButton(launcher, "&Single Play");
    EXPECT_EQ(launcher.waitForExit(), 0) << [&] {
        MessageBoxView box;
        return launcher.waitForMessageBox(box, 100) ? box.text : std::string("no box");
    }();
    const std::string log = shortFolder + "\\TARVOSK.LOG";
    EXPECT_TRUE(waitUntil([&] { return !readFile(log).empty(); }));
    EXPECT_EQ(readFile(log), " /x\r\n");
}

TEST_F(LongLaunchDirectory, AMissingFileIsReportedByItsFullName) {
    for (const Action& a : actions) {
        SCOPED_TRACE(a.button);
        ASSERT_TRUE(launch_.remove(a.file));
        Launcher launcher(home_, launch_.path());
        ASSERT_NE(launcher.mainWindow(), nullptr);
        clickButton(launcher, a.button);
        MessageBoxView box;
        ASSERT_TRUE(launcher.waitForMessageBox(box));
        EXPECT_EQ(box.title, "File Error");
        EXPECT_EQ(box.text, "Cannot find the file..." + launch_.file(a.file));
        Launcher::answer(box, IDOK);
        EXPECT_TRUE(launcher.running());
        EXPECT_TRUE(home_.starts().empty());
    }
}

} // namespace
