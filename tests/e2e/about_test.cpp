#include "driver.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

const char kelvaneAddress[] = "https://kelvane.example/";
const char ostreyAddress[] = "https://ostrey.example/";

// Places in the dialog's client area, from its stored layout.
constexpr POINT onKelvaneLink{20, 58};
constexpr POINT onOstreyLink{20, 140};
constexpr POINT onLabel3{20, 45}; // the author's notice, touching the Kelvane link
constexpr POINT bareRightOfKelvane{150, 60};
constexpr RECT kelvaneLink{4, 52, 113, 73};
constexpr RECT ostreyLink{4, 132, 121, 149};

// The menu bar's one item, About, lies at its left end just above the client area.
POINT aboutMenuItem(const Launcher& launcher) {
    POINT p = launcher.clientToScreen({15, 0});
    p.y -= GetSystemMetrics(SM_CYMENU) / 2;
    return p;
}

HWND visibleDialog(const Launcher& launcher) {
    return launcher.findWindow("TFormWindow", "About Tarvosk");
}

HWND openAbout(const Launcher& launcher) {
    // A second click on the same place within the double-click time would be a
    // double-click, which a menu bar ignores.
    Sleep(GetDoubleClickTime());
    click(aboutMenuItem(launcher));
    HWND dialog = nullptr;
    waitUntil([&] { return (dialog = visibleDialog(launcher)) != nullptr; }, 5000);
    Sleep(200); // painted
    return dialog;
}

bool closed(const Launcher& launcher) {
    return waitUntil([&] { return visibleDialog(launcher) == nullptr; }, 3000);
}

HWND okButton(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (className(child) == "Button" && windowText(child) == "OK")
            return child;
    return nullptr;
}

POINT onScreen(HWND dialog, POINT client) {
    ClientToScreen(dialog, &client);
    return client;
}

HWND activeWindow(const Launcher& launcher) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(launcher.mainWindow(), nullptr), &info);
    return info.hwndActive;
}

// The colour a link's text shows on the screen: "red" when every text pixel is
// pure red, "plain" when every one is the window-text colour.
std::string shownColour(HWND dialog, RECT client) {
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
    int w = client.right - client.left, h = client.bottom - client.top;
    HDC screen = GetDC(nullptr);
    HDC copy = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(copy, bitmap);
    BitBlt(copy, 0, 0, w, h, screen, client.left, client.top, SRCCOPY);
    COLORREF background = GetSysColor(COLOR_BTNFACE);
    COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
    int red = 0, plain = 0, other = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            COLORREF c = GetPixel(copy, x, y);
            if (c == RGB(255, 0, 0))
                ++red;
            else if (c == text)
                ++plain;
            else if (c != background)
                ++other;
        }
    SelectObject(copy, old);
    DeleteObject(bitmap);
    DeleteDC(copy);
    ReleaseDC(nullptr, screen);
    if (red > 20 && plain == 0 && other == 0)
        return "red";
    if (plain > 20 && red == 0 && other == 0)
        return "plain";
    return "red " + std::to_string(red) + ", plain " + std::to_string(plain) + ", other " +
           std::to_string(other);
}

// Waits for both links to show the expected colours; on time-out says what they show.
::testing::AssertionResult linksShow(HWND dialog, const std::string& kelvane,
                                     const std::string& ostrey) {
    std::string k, o;
    if (waitUntil(
            [&] {
                k = shownColour(dialog, kelvaneLink);
                o = shownColour(dialog, ostreyLink);
                return k == kelvane && o == ostrey;
            },
            2000))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "Kelvane link shows " << k << ", Ostrey link " << o;
}

TEST(AboutDialog, TheAboutCommandShowsItModallyWithOkFocused) {
    LaunchDirectory dir;
    Launcher launcher(dir);
    HWND main = launcher.mainWindow();
    ASSERT_NE(main, nullptr);
    HWND dialog = openAbout(launcher);
    ASSERT_NE(dialog, nullptr);

    EXPECT_EQ(windowText(dialog), "About Tarvosk");
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 181);
    EXPECT_EQ(client.bottom, 154);
    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), main);

    HWND ok = okButton(dialog);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(launcher.focus(), ok);
    EXPECT_EQ(activeWindow(launcher), dialog);
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_TRUE(IsWindowEnabled(dialog));

    // Neither the main window's buttons nor its menu answer while the dialog is up.
    click(centre(windowRect(launcher.button("&Single Play"))));
    click(aboutMenuItem(launcher));
    Sleep(1000);
    EXPECT_TRUE(launcher.running());
    EXPECT_TRUE(dir.starts().empty());
    EXPECT_EQ(visibleDialog(launcher), dialog);
    EXPECT_EQ(launcher.visibleWindows().size(), 2u);
    EXPECT_EQ(launcher.focus(), ok);
}

TEST(AboutDialog, OnlyTheOkButtonClosesIt) {
    struct Case {
        const char* what;
        std::function<void(HWND dialog)> act;
        bool closes;
    };
    const Case cases[] = {
        {"Escape", [](HWND) { pressKey(VK_ESCAPE); }, false},
        {"Enter", [](HWND) { pressKey(VK_RETURN); }, true},
        {"Space", [](HWND) { pressKey(VK_SPACE); }, true},
        {"a click on OK", [](HWND d) { click(centre(windowRect(okButton(d)))); }, true},
    };
    LaunchDirectory dir;
    Launcher launcher(dir);
    HWND main = launcher.mainWindow();
    ASSERT_NE(main, nullptr);
    for (const Case& c : cases) {
        HWND dialog = visibleDialog(launcher);
        if (!dialog)
            dialog = openAbout(launcher);
        ASSERT_NE(dialog, nullptr) << c.what;
        ASSERT_EQ(launcher.focus(), okButton(dialog)) << c.what;
        c.act(dialog);
        if (!c.closes) {
            Sleep(700);
            EXPECT_EQ(visibleDialog(launcher), dialog) << c.what << " closed the dialog";
            EXPECT_FALSE(IsWindowEnabled(main)) << c.what;
            continue;
        }
        EXPECT_TRUE(closed(launcher)) << c.what << " left the dialog open";
        EXPECT_TRUE(waitUntil([&] { return activeWindow(launcher) == main; }, 2000)) << c.what;
        EXPECT_TRUE(IsWindowEnabled(main)) << c.what;
        EXPECT_TRUE(launcher.running()) << c.what;
    }
    // The main window answers again.
    click(centre(windowRect(launcher.button("&Single Play"))));
    EXPECT_EQ(launcher.waitForExit(), 0);
    EXPECT_TRUE(waitUntil([&] { return dir.starts().size() == 1; }));
}

TEST(AboutDialog, FirstShownCentredThenWhereTheUserDraggedIt) {
    LaunchDirectory dir;
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);
    HWND dialog = openAbout(launcher);
    ASSERT_NE(dialog, nullptr);
    RECT first = windowRect(dialog);
    int width = first.right - first.left, height = first.bottom - first.top;
    EXPECT_LE(std::abs(first.left - (GetSystemMetrics(SM_CXSCREEN) - width) / 2), 1);
    EXPECT_LE(std::abs(first.top - (GetSystemMetrics(SM_CYSCREEN) - height) / 2), 1);

    // Dragged by its title bar with the real mouse, in small steps as a hand would.
    const POINT by{150, 120};
    POINT grip{first.left + width / 2,
               first.top + GetSystemMetrics(SM_CYFIXEDFRAME) + GetSystemMetrics(SM_CYCAPTION) / 2};
    moveMouse(grip);
    Sleep(50);
    INPUT press{};
    press.type = INPUT_MOUSE;
    press.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &press, sizeof press);
    for (int step = 1; step <= 10; ++step) {
        Sleep(30);
        moveMouse({grip.x + by.x * step / 10, grip.y + by.y * step / 10});
    }
    Sleep(50);
    INPUT release = press;
    release.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &release, sizeof release);
    RECT moved;
    ASSERT_TRUE(waitUntil(
        [&] {
            moved = windowRect(dialog);
            return moved.left == first.left + by.x && moved.top == first.top + by.y;
        },
        3000))
        << "the dialog is at " << moved.left << "," << moved.top;

    pressKey(VK_RETURN);
    ASSERT_TRUE(closed(launcher));
    ASSERT_EQ(openAbout(launcher), dialog);
    RECT again = windowRect(dialog);
    EXPECT_TRUE(EqualRect(&again, &moved)) << "shown again at " << again.left << "," << again.top;
}

TEST(AboutDialog, LinksTurnRedUnderThePointerUntilItCrossesBareClientArea) {
    LaunchDirectory dir;
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);
    HWND dialog = openAbout(launcher);
    ASSERT_NE(dialog, nullptr);
    RECT outline = windowRect(dialog);
    POINT leftOfKelvane{outline.left - 30, onScreen(dialog, onKelvaneLink).y};
    POINT leftOfOstrey{outline.left - 30, onScreen(dialog, onOstreyLink).y};

    EXPECT_TRUE(linksShow(dialog, "plain", "plain")) << "at first";
    struct Step {
        const char* what;
        POINT to;
        const char* kelvane;
        const char* ostrey;
    };
    const Step steps[] = {
        {"over the Kelvane link", onScreen(dialog, onKelvaneLink), "red", "plain"},
        {"on to bare area to its right", onScreen(dialog, bareRightOfKelvane), "plain", "plain"},
        {"back over the Kelvane link", onScreen(dialog, onKelvaneLink), "red", "plain"},
        {"on to the neighbouring label", onScreen(dialog, onLabel3), "red", "plain"},
        {"on to bare area", onScreen(dialog, bareRightOfKelvane), "plain", "plain"},
        {"over the Ostrey link", onScreen(dialog, onOstreyLink), "plain", "red"},
        {"on to the OK button", centre(windowRect(okButton(dialog))), "plain", "red"},
        {"out of the dialog", leftOfOstrey, "plain", "red"},
        {"outside, level with the Kelvane link", leftOfKelvane, "plain", "red"},
        {"into the Kelvane link from outside: both red", onScreen(dialog, onKelvaneLink), "red",
         "red"},
        {"out of the dialog again", leftOfKelvane, "red", "red"},
    };
    for (const Step& s : steps) {
        moveMouse(s.to);
        EXPECT_TRUE(linksShow(dialog, s.kelvane, s.ostrey)) << s.what;
    }

    // Neither hiding nor showing again resets them.
    pressKey(VK_RETURN);
    ASSERT_TRUE(closed(launcher));
    ASSERT_EQ(openAbout(launcher), dialog);
    EXPECT_TRUE(linksShow(dialog, "red", "red")) << "shown again";
    moveMouse(onScreen(dialog, bareRightOfKelvane));
    EXPECT_TRUE(linksShow(dialog, "plain", "plain")) << "after bare client area";
}

struct Link {
    POINT at;
    const char* address;
};
const Link links[] = {{onKelvaneLink, kelvaneAddress}, {onOstreyLink, ostreyAddress}};

TEST(AboutDialog, AClickOnALinkOpensItsAddressAndTheDialogStays) {
    ShellOpenCommand browser("https", recordingCommand());
    LaunchDirectory dir;
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);
    HWND dialog = openAbout(launcher);
    ASSERT_NE(dialog, nullptr);
    size_t opened = 0;
    for (const Link& link : links) {
        click(onScreen(dialog, link.at));
        ASSERT_TRUE(waitUntil([&] { return dir.starts().size() == opened + 1; })) << link.address;
        std::string start = dir.starts()[opened++];
        EXPECT_NE(start.find(std::string("\"") + link.address + "\""), std::string::npos) << start;
        Sleep(300);
        EXPECT_TRUE(launcher.running()) << link.address;
        EXPECT_EQ(visibleDialog(launcher), dialog) << link.address;
        EXPECT_FALSE(IsWindowEnabled(launcher.mainWindow())) << link.address;
    }
    EXPECT_EQ(dir.starts().size(), 2u);
}

TEST(AboutDialog, AnAddressTheShellCannotFindIsReportedAndTheDialogStays) {
    // A registered handler whose program is missing makes the shell answer "not found".
    ShellOpenCommand browser("https", "\"C:\\nowhere\\browser.exe\" \"%1\"");
    LaunchDirectory dir;
    Launcher launcher(dir);
    ASSERT_NE(launcher.mainWindow(), nullptr);
    HWND dialog = openAbout(launcher);
    ASSERT_NE(dialog, nullptr);
    for (const Link& link : links) {
        click(onScreen(dialog, link.at));
        MessageBoxView box;
        ASSERT_TRUE(launcher.waitForMessageBox(box)) << link.address;
        EXPECT_EQ(box.title, "File Error");
        EXPECT_EQ(box.text, std::string("Cannot find the file...") + link.address);
        EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
        EXPECT_EQ(box.icon, "error");
        EXPECT_TRUE(IsWindowEnabled(dialog)) << "the box has no owner";
        Launcher::answer(box, IDOK);
        Sleep(300);
        EXPECT_TRUE(launcher.running());
        EXPECT_EQ(visibleDialog(launcher), dialog) << link.address;
    }
}

} // namespace
