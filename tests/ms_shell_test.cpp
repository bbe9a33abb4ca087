#include "launch/ms_shell.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// What the substitutes saw. Plain function pointers cannot capture, so the
// substitutes record here; each test starts from a fresh record.
struct Record {
    INT_PTR result = 33;
    int shellCalls = 0;
    HWND owner = reinterpret_cast<HWND>(1);
    std::string verb, file, parameters;
    bool verbNull = false, fileNull = false, parametersNull = false;
    bool directoryNull = false;
    int show = -1;
    struct Box {
        HWND owner;
        std::string text, title;
        UINT flags;
    };
    std::vector<Box> boxes;
    std::vector<int> quits;
};
Record record;

std::string text(LPCSTR s) {
    return s ? s : "";
}

HINSTANCE WINAPI fakeShellExecute(HWND owner, LPCSTR verb, LPCSTR file, LPCSTR parameters,
                                  LPCSTR directory, INT show) {
    ++record.shellCalls;
    record.owner = owner;
    record.verbNull = !verb;
    record.fileNull = !file;
    record.parametersNull = !parameters;
    record.directoryNull = !directory;
    record.verb = text(verb);
    record.file = text(file);
    record.parameters = text(parameters);
    record.show = show;
    return reinterpret_cast<HINSTANCE>(record.result);
}

int WINAPI fakeMessageBox(HWND owner, LPCSTR message, LPCSTR title, UINT flags) {
    record.boxes.push_back({owner, text(message), text(title), flags});
    return IDOK;
}

void WINAPI fakePostQuitMessage(int code) {
    record.quits.push_back(code);
}

const ShellApi fakes{fakeShellExecute, fakeMessageBox, fakePostQuitMessage};

class MsShell : public ::testing::Test {
  protected:
    void SetUp() override { record = Record(); }
};

TEST_F(MsShell, HandsTheShellExactlyWhatItWasGiven) {
    struct Case {
        std::string file, parameters;
    };
    const Case cases[] = {
        {"C:\\GAMES\\ARCADE\\tarvosk.com", "/x"},
        {"C:\\tarvosk.txt", ""}, // empty parameters reach the shell as "", never null
        {"https://kelvane.example/", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        record = Record();
        msShell(fakes).execute(c.file, c.parameters, false);
        EXPECT_EQ(record.shellCalls, 1);
        EXPECT_EQ(record.owner, nullptr);
        EXPECT_FALSE(record.verbNull);
        EXPECT_EQ(record.verb, "open");
        EXPECT_FALSE(record.fileNull);
        EXPECT_EQ(record.file, c.file);
        EXPECT_FALSE(record.parametersNull);
        EXPECT_EQ(record.parameters, c.parameters);
        EXPECT_TRUE(record.directoryNull);
        EXPECT_EQ(record.show, SW_SHOWNORMAL);
    }
}

TEST_F(MsShell, NotFoundShowsTheBoxAndNeverQuits) {
    for (INT_PTR result : {INT_PTR(2), INT_PTR(3)}) {
        for (bool quit : {true, false}) {
            record = Record();
            record.result = result;
            msShell(fakes).execute("C:\\GAMES\\tarvosk.com", "/x", quit);
            ASSERT_EQ(record.boxes.size(), 1u) << "result " << result;
            EXPECT_EQ(record.boxes[0].owner, nullptr);
            EXPECT_EQ(record.boxes[0].text, "Cannot find the file...C:\\GAMES\\tarvosk.com");
            EXPECT_EQ(record.boxes[0].title, "File Error");
            EXPECT_EQ(record.boxes[0].flags, 0x10u);
            EXPECT_TRUE(record.quits.empty());
        }
    }
}

TEST_F(MsShell, EveryOtherResultIsSilentAndQuitsExactlyWhenAsked) {
    for (INT_PTR result : {INT_PTR(0), INT_PTR(1), INT_PTR(4), INT_PTR(11), INT_PTR(31),
                           INT_PTR(32), INT_PTR(33), INT_PTR(42)}) {
        for (bool quit : {true, false}) {
            record = Record();
            record.result = result;
            msShell(fakes).execute("C:\\tarvosk.com", "/c", quit);
            EXPECT_TRUE(record.boxes.empty()) << "result " << result;
            EXPECT_EQ(record.quits, quit ? std::vector<int>{0} : std::vector<int>{})
                << "result " << result << " quit " << quit;
        }
    }
}

TEST_F(MsShell, CallsAreIndependent) {
    msShell shell(fakes);
    record.result = 2;
    shell.execute("a.com", "", true);
    record.result = 42;
    shell.execute("b.com", "", true);
    EXPECT_EQ(record.shellCalls, 2);
    ASSERT_EQ(record.boxes.size(), 1u);
    EXPECT_EQ(record.boxes[0].text, "Cannot find the file...a.com");
    EXPECT_EQ(record.quits, std::vector<int>{0});
}

} // namespace
