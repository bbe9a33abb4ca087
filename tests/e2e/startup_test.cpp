#include "driver.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

// Launchers built with a faulty set of resources: what escapes start-up is shown
// in the application's box, and the program still ends with code 0.
TEST(StartUp, AnExceptionThatEscapesStartUpIsShownAndTheProgramReturnsZero) {
    struct Case {
        const char* program;
        std::string message;
    };
    const Case cases[] = {
        {"launcher_without_layouts.exe", "Resource TFRMMAIN not found."},
        {"launcher_with_unknown_handler.exe",
         "property OnClick of btnExit (TButton): the form has no handler btnQuitClick for "
         "this event."},
    };
    for (const Case& c : cases) {
        LaunchDirectory::Options options;
        options.launcher = c.program;
        LaunchDirectory dir(options);
        Launcher launcher(dir);
        MessageBoxView box;
        ASSERT_TRUE(launcher.waitForMessageBox(box)) << c.program;
        EXPECT_EQ(box.title, "Tarvosk") << c.program;
        EXPECT_GE(box.text.size(), c.message.size());
        EXPECT_EQ(box.text.substr(box.text.size() - c.message.size()), c.message) << box.text;
        EXPECT_EQ(box.icon, "error") << c.program; // the stop icon
        EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
        EXPECT_EQ(launcher.findWindow("TFormWindow"), nullptr) << c.program;
        click(centre(windowRect(GetDlgItem(box.window, IDOK))));
        EXPECT_EQ(launcher.waitForExit(), 0) << c.program;
        EXPECT_TRUE(dir.starts().empty());
    }
}

} // namespace
