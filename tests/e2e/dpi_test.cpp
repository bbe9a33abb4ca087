#include "driver.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace e2e;

namespace {

// Sets the prefix's screen resolution for the programs started while it lives;
// Wine reads it when a program starts.
class ScreenDpi {
  public:
    explicit ScreenDpi(DWORD dpi) {
        RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key_, nullptr);
        DWORD size = sizeof saved_;
        hadValue_ = RegQueryValueExA(key_, "LogPixels", nullptr, nullptr,
                                     reinterpret_cast<BYTE*>(&saved_), &size) == ERROR_SUCCESS;
        RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                       sizeof dpi);
    }
    ~ScreenDpi() {
        if (hadValue_)
            RegSetValueExA(key_, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&saved_),
                           sizeof saved_);
        else
            RegDeleteValueA(key_, "LogPixels");
        RegCloseKey(key_);
    }
    ScreenDpi(const ScreenDpi&) = delete;
    ScreenDpi& operator=(const ScreenDpi&) = delete;

  private:
    HKEY key_ = nullptr;
    DWORD saved_ = 0;
    bool hadValue_ = false;
};

RECT scaled(RECT r, int dpi) {
    return {MulDiv(r.left, dpi, 96), MulDiv(r.top, dpi, 96), MulDiv(r.right, dpi, 96),
            MulDiv(r.bottom, dpi, 96)};
}

// Measures the height of the text in a button off the screen: the rows that hold
// dark text pixels in its middle.
int textHeight(HWND button) {
    RECT r = windowRect(button);
    HDC screen = GetDC(nullptr);
    int top = -1, bottom = -1;
    for (int y = r.top + 3; y < r.bottom - 3; ++y)
        for (int x = r.left + 4; x < r.right - 4; ++x)
            if (GetRValue(GetPixel(screen, x, y)) < 64) {
                if (top < 0)
                    top = y;
                bottom = y;
                break;
            }
    ReleaseDC(nullptr, screen);
    return top < 0 ? 0 : bottom - top + 1;
}

TEST(HighDpi, TheMainWindowIsLaidOutAtTheScreensScale) {
    struct Button {
        const char* caption;
        RECT at96;
    };
    const Button buttons[] = {
        {"&Single Play", {322, 6, 397, 29}},  {"&Multi Play", {322, 30, 397, 53}},
        {"&Readme", {322, 54, 397, 79}},      {"&Desktop Icon", {322, 134, 397, 159}},
        {"&Uninstall", {322, 160, 397, 183}}, {"E&xit", {322, 184, 397, 203}},
    };
    int textAt96 = 0;
    for (int dpi : {96, 144, 192}) {
        ScreenDpi screenDpi(dpi);
        LaunchDirectory dir;
        Launcher launcher(dir);
        HWND main = launcher.mainWindow();
        ASSERT_NE(main, nullptr) << dpi;
        RECT client;
        GetClientRect(main, &client);
        EXPECT_EQ(client.right, MulDiv(400, dpi, 96)) << dpi;
        EXPECT_EQ(client.bottom, MulDiv(205, dpi, 96)) << dpi;
        for (const Button& b : buttons) {
            HWND button = launcher.button(b.caption);
            ASSERT_NE(button, nullptr);
            RECT r = childRect(button), expected = scaled(b.at96, dpi);
            EXPECT_TRUE(EqualRect(&r, &expected)) << b.caption << " at " << dpi << " dpi";
        }
        // The text grows with the scale, so it stays as crisp as the system draws it.
        int text = textHeight(launcher.button("&Multi Play"));
        if (dpi == 96)
            textAt96 = text;
        else
            EXPECT_GE(text, textAt96 * dpi / 96 - 2) << dpi;
        // The artwork fills its scaled place: coloured up to its right and bottom edges.
        HDC dc = GetDC(main);
        RECT picture = scaled({1, 4, 321, 204}, dpi);
        EXPECT_NE(GetPixel(dc, picture.right - 3, picture.top + 40), RGB(0, 0, 0)) << dpi;
        EXPECT_NE(GetPixel(dc, picture.left + 40, picture.bottom - 3), RGB(0, 0, 0)) << dpi;
        EXPECT_EQ(GetPixel(dc, picture.right + 2, MulDiv(100, dpi, 96)), RGB(0, 0, 0)) << dpi;
        ReleaseDC(main, dc);

        // The About dialog follows the same scale.
        pressKey('A', true);
        HWND about = nullptr;
        ASSERT_TRUE(waitUntil([&] {
            return (about = launcher.findWindow("TFormWindow", "About Tarvosk")) != nullptr;
        })) << dpi;
        GetClientRect(about, &client);
        EXPECT_EQ(client.right, MulDiv(181, dpi, 96)) << dpi;
        EXPECT_EQ(client.bottom, MulDiv(154, dpi, 96)) << dpi;
        HWND ok = FindWindowExA(about, nullptr, "Button", "OK");
        ASSERT_NE(ok, nullptr);
        RECT r = childRect(ok), expected = scaled({128, 126, 177, 151}, dpi);
        EXPECT_TRUE(EqualRect(&r, &expected)) << "OK at " << dpi << " dpi";
    }
}

bool onScreen(RECT r) {
    return r.left >= 0 && r.top >= 0 && r.right <= GetSystemMetrics(SM_CXSCREEN) &&
           r.bottom <= GetSystemMetrics(SM_CYSCREEN);
}

std::string text(RECT r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

// At 480 dpi the main window would be 2,000 pixels wide: it shrinks to the largest
// scale at which it fits the screen, and every button stays within reach.
TEST(HighDpi, AWindowLargerThanTheScreenShrinksUntilItFits) {
    ScreenDpi screenDpi(480);
    LaunchDirectory dir;
    Launcher launcher(dir);
    HWND main = launcher.mainWindow();
    ASSERT_NE(main, nullptr);
    RECT window = windowRect(main);
    EXPECT_TRUE(onScreen(window)) << text(window);
    // As large as fits: against the screen's edge in one direction.
    EXPECT_TRUE(window.right - window.left > GetSystemMetrics(SM_CXSCREEN) - 16 ||
                window.bottom - window.top > GetSystemMetrics(SM_CYSCREEN) - 16)
        << text(window);
    RECT client;
    GetClientRect(main, &client);
    EXPECT_GT(client.right, 3 * 400) << "laid out well above 96 dpi's size";
    for (const char* caption :
         {"&Single Play", "&Multi Play", "&Readme", "&Desktop Icon", "&Uninstall", "E&xit"}) {
        RECT r = windowRect(launcher.button(caption));
        EXPECT_TRUE(onScreen(r)) << caption << " at " << text(r);
    }

    pressKey('A', true);
    HWND about = nullptr;
    ASSERT_TRUE(waitUntil(
        [&] { return (about = launcher.findWindow("TFormWindow", "About Tarvosk")) != nullptr; }));
    RECT ok = windowRect(FindWindowExA(about, nullptr, "Button", "OK"));
    EXPECT_TRUE(onScreen(windowRect(about))) << text(windowRect(about));
    EXPECT_TRUE(onScreen(ok)) << "OK at " << text(ok);
}

// A resolution change is the system's to send. One forged by another program,
// with a DPI of 0 or a rectangle pointer that means nothing in the launcher, must
// neither crash it nor lay it out at a scale no screen has.
TEST(ForgedMessages, AResolutionChangeFromAnotherProgramIsCheckedBeforeUse) {
    LaunchDirectory dir;
    Launcher launcher(dir);
    HWND main = launcher.mainWindow();
    ASSERT_NE(main, nullptr);
    auto clientSize = [&] {
        RECT client;
        GetClientRect(main, &client);
        return std::to_string(client.right) + "x" + std::to_string(client.bottom);
    };
    auto send = [&](WPARAM w, LPARAM l) {
        DWORD_PTR result;
        SendMessageTimeoutA(main, WM_DPICHANGED, w, l, SMTO_ABORTIFHUNG, 3000, &result);
    };
    struct Case {
        const char* what;
        std::function<void()> forge;
        const char* size;
    };
    const Case cases[] = {
        {"posted, 288 dpi, no rectangle", [&] { PostMessageA(main, WM_DPICHANGED, 0x01200120, 0); },
         "400x205"},
        {"posted, 0 dpi", [&] { PostMessageA(main, WM_DPICHANGED, 0, 0x1234); }, "400x205"},
        {"sent, 0 dpi", [&] { send(0, 0); }, "400x205"},
        {"sent, axes apart", [&] { send(MAKEWPARAM(96, 192), 0); }, "400x205"},
        {"sent, 192 dpi, a rectangle from elsewhere", [&] { send(MAKEWPARAM(192, 192), 0x1234); },
         "800x410"},
        {"sent, back to 96 dpi, no rectangle", [&] { send(MAKEWPARAM(96, 96), 0); }, "400x205"},
    };
    for (const Case& c : cases) {
        c.forge();
        Sleep(300);
        ASSERT_TRUE(launcher.running()) << c.what;
        EXPECT_EQ(clientSize(), c.size) << c.what;
        EXPECT_TRUE(onScreen(windowRect(main))) << c.what;
    }
}

} // namespace
