#include "driver.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

const char credit[] = "Tarvosk by Edda Marrow - Kelvane";

std::string expectedStart(const LaunchDirectory& dir, const std::string& parameters) {
    // The shell quotes the program's path and passes the parameters as given; the
    // game runs in the launch directory.
    return "\"" + dir.file("tarvosk.com") + "\" " + parameters + "|" + dir.path();
}

POINT pictureCentre(const Launcher& launcher) {
    return launcher.clientToScreen({161, 104});
}

TEST(MainWindow, ShowsTheArtworkBesideSixButtons) {
    LaunchDirectory dir;
    Launcher launcher(dir);
    HWND main = launcher.mainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(windowText(main), credit);

    RECT client;
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 205);

    struct Expected {
        const char* caption;
        RECT rect;
    };
    const Expected buttons[] = {
        {"&Single Play", {322, 6, 397, 29}},  {"&Multi Play", {322, 30, 397, 53}},
        {"&Readme", {322, 54, 397, 79}},      {"&Desktop Icon", {322, 134, 397, 159}},
        {"&Uninstall", {322, 160, 397, 183}}, {"E&xit", {322, 184, 397, 203}},
    };
    int found = 0;
    for (HWND child = GetWindow(main, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        found += className(child) == "Button";
    EXPECT_EQ(found, 6);
    for (const Expected& b : buttons) {
        HWND button = launcher.button(b.caption);
        ASSERT_NE(button, nullptr) << b.caption;
        RECT r = childRect(button);
        EXPECT_TRUE(EqualRect(&r, &b.rect))
            << b.caption << " at " << r.left << "," << r.top << "-" << r.right << "," << r.bottom;
        EXPECT_TRUE(IsWindowVisible(button) && IsWindowEnabled(button)) << b.caption;
    }

    LONG style = GetWindowLongA(main, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);

    // Wine keeps a menu's items to its own process; the layout tests read them.
    EXPECT_NE(GetMenu(main), nullptr);

    RECT window = windowRect(main);
    int dx = (GetSystemMetrics(SM_CXSCREEN) - (window.right - window.left)) / 2 - window.left;
    int dy = (GetSystemMetrics(SM_CYSCREEN) - (window.bottom - window.top)) / 2 - window.top;
    EXPECT_LE(std::abs(dx), 1);
    EXPECT_LE(std::abs(dy), 1);

    // The artwork fills the picture's place: its pixels are not the black background.
    HDC dc = GetDC(main);
    int coloured = 0;
    for (int x = 11; x < 321; x += 20)
        coloured += GetPixel(dc, x, 104) != RGB(0, 0, 0);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
    ReleaseDC(main, dc);
    EXPECT_GT(coloured, 10);
}

TEST(MainWindow, FocusStartsOnSinglePlayAndTabEndsWithReadme) {
    LaunchDirectory dir;
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);
    ASSERT_TRUE(waitUntil([&] { return launcher.focus() == launcher.button("&Single Play"); }));
    const char* order[] = {"&Multi Play", "&Desktop Icon", "&Uninstall",
                           "E&xit",       "&Readme",       "&Single Play"};
    for (const char* next : order) {
        pressKey(VK_TAB);
        EXPECT_TRUE(waitUntil([&] { return launcher.focus() == launcher.button(next); }, 3000))
            << "Tab should reach " << next;
    }
}

TEST(MainWindow, PlayActionsStartTheGameInTheLaunchDirectoryAndEnd) {
    struct Case {
        const char* what;
        std::function<void(const Launcher&)> act;
        const char* parameters;
    };
    const Case cases[] = {
        {"Single Play",
         [](const Launcher& l) { click(centre(windowRect(l.button("&Single Play")))); }, "/x"},
        {"Multi Play",
         [](const Launcher& l) { click(centre(windowRect(l.button("&Multi Play")))); }, "/c"},
        {"double-click on the picture", [](const Launcher& l) { doubleClick(pictureCentre(l)); },
         "/x"},
        {"Alt+S", [](const Launcher&) { pressKey('S', true); }, "/x"},
    };
    for (const Case& c : cases) {
        LaunchDirectory dir;
        Launcher launcher(dir);
        ASSERT_NE(launcher.mainWindow(), nullptr);
        c.act(launcher);
        EXPECT_EQ(launcher.waitForExit(), 0) << c.what;
        ASSERT_TRUE(waitUntil([&] { return !dir.starts().empty(); })) << c.what;
        Sleep(200);
        EXPECT_EQ(dir.starts(), std::vector<std::string>{expectedStart(dir, c.parameters)})
            << c.what;
    }
}

TEST(MainWindow, SingleClickOnThePictureDoesNothing) {
    LaunchDirectory dir;
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);
    click(pictureCentre(launcher));
    Sleep(1000);
    EXPECT_TRUE(launcher.running());
    EXPECT_TRUE(dir.starts().empty());
}

TEST(MainWindow, FastDoubleClickOnSinglePlayStartsTheGameOnce) {
    LaunchDirectory dir;
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);
    doubleClick(centre(windowRect(launcher.button("&Single Play"))));
    EXPECT_EQ(launcher.waitForExit(), 0);
    Sleep(1000); // a second start, if there were one, would have logged by now
    EXPECT_EQ(dir.starts().size(), 1u);
}

TEST(MainWindow, MissingGameProgramIsReportedAndTheLauncherStays) {
    LaunchDirectory dir(LaunchDirectory::Options{false, true});
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);
    for (int attempt = 0; attempt < 2; ++attempt) {
        click(centre(windowRect(launcher.button("&Single Play"))));
        MessageBoxView box;
        ASSERT_TRUE(launcher.waitForMessageBox(box)) << "attempt " << attempt;
        EXPECT_EQ(box.title, "File Error");
        EXPECT_EQ(box.text, "Cannot find the file..." + dir.file("tarvosk.com"));
        EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
        EXPECT_EQ(box.icon, "error");
        EXPECT_TRUE(IsWindowEnabled(launcher.mainWindow()));
        click(centre(windowRect(GetDlgItem(box.window, IDOK))));
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(box.window); }));
        Sleep(300);
        EXPECT_TRUE(launcher.running());
    }
    EXPECT_TRUE(dir.starts().empty());
}

TEST(MainWindow, ReadmeOpensTheReadmeAndTheLauncherStays) {
    ShellOpenCommand association("txtfile", recordingCommand());
    LaunchDirectory dir;
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);
    click(centre(windowRect(launcher.button("&Readme"))));
    ASSERT_TRUE(waitUntil([&] { return !dir.starts().empty(); }));
    std::string start = dir.starts().front();
    EXPECT_NE(start.find("\"" + dir.file("tarvosk.txt") + "\""), std::string::npos) << start;
    Sleep(500);
    EXPECT_TRUE(launcher.running());
}

TEST(MainWindow, MissingReadmeIsReported) {
    LaunchDirectory dir(LaunchDirectory::Options{true, false});
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);
    click(centre(windowRect(launcher.button("&Readme"))));
    MessageBoxView box;
    ASSERT_TRUE(launcher.waitForMessageBox(box));
    EXPECT_EQ(box.title, "File Error");
    EXPECT_EQ(box.text, "Cannot find the file..." + dir.file("tarvosk.txt"));
    Launcher::answer(box, IDOK);
    Sleep(300);
    EXPECT_TRUE(launcher.running());
}

TEST(MainWindow, ExitAndTheCloseBoxEndWithCodeZero) {
    struct Case {
        const char* what;
        std::function<void(const Launcher&)> act;
    };
    const Case cases[] = {
        {"Exit", [](const Launcher& l) { click(centre(windowRect(l.button("E&xit")))); }},
        {"close box",
         [](const Launcher& l) {
             RECT w = windowRect(l.mainWindow());
             int frame = GetSystemMetrics(SM_CXFIXEDFRAME);
             int button = GetSystemMetrics(SM_CXSIZE);
             click({w.right - frame - button / 2 - 1,
                    w.top + frame + GetSystemMetrics(SM_CYCAPTION) / 2});
         }},
        {"Alt+F4", [](const Launcher&) { pressKey(VK_F4, true); }},
    };
    for (const Case& c : cases) {
        LaunchDirectory dir;
        Launcher launcher(dir);
        ASSERT_NE(launcher.mainWindow(), nullptr);
        c.act(launcher);
        EXPECT_EQ(launcher.waitForExit(), 0) << c.what;
        EXPECT_TRUE(dir.starts().empty()) << c.what;
    }
}

TEST(MainWindow, AtADriveRootTheGameProgramIsNamedWithoutADoubledSeparator) {
    // The test prefix maps drive X: to a folder of the build.
    LaunchDirectory dir(LaunchDirectory::Options{false, false}, "X:\\");
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);
    click(centre(windowRect(launcher.button("&Single Play"))));
    MessageBoxView box;
    ASSERT_TRUE(launcher.waitForMessageBox(box));
    EXPECT_EQ(box.text, "Cannot find the file...X:\\tarvosk.com");
    Launcher::answer(box, IDOK);
}

} // namespace
