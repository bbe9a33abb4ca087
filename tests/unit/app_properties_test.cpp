#include "launch/app_properties.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

// Changes the working directory for one test and restores it.
class WorkingDirectory {
  public:
    explicit WorkingDirectory(const std::wstring& directory) {
        GetCurrentDirectoryW(MAX_PATH, saved_);
        ok_ = SetCurrentDirectoryW(directory.c_str()) != FALSE;
    }
    ~WorkingDirectory() { SetCurrentDirectoryW(saved_); }
    bool ok() const { return ok_; }

  private:
    wchar_t saved_[MAX_PATH];
    bool ok_;
};

std::wstring makeDirectory(std::wstring path) {
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
}

std::wstring tempRoot() {
    wchar_t buffer[MAX_PATH];
    GetTempPathW(MAX_PATH, buffer);
    return makeDirectory(std::wstring(buffer) + L"props_test");
}

TEST(AppProperties, PathFollowsTheWorkingDirectory) {
    struct Case {
        std::wstring directory;
        std::string expected;
    };
    std::wstring games = makeDirectory(tempRoot() + L"\\GAMES");
    std::wstring arcade = makeDirectory(games + L"\\ARCADE");
    char arcadeAnsi[MAX_PATH];
    WideCharToMultiByte(CP_ACP, 0, arcade.c_str(), -1, arcadeAnsi, MAX_PATH, nullptr, nullptr);
    const Case cases[] = {
        {L"C:\\", "C:\\"},                 // a drive root gets no second separator
        {L"C:\\windows", "C:\\windows\\"}, // longer than three: one is appended
        {arcade, std::string(arcadeAnsi) + "\\"},
    };
    for (const Case& c : cases) {
        WorkingDirectory cwd(c.directory);
        ASSERT_TRUE(cwd.ok());
        appProperties properties;
        EXPECT_EQ(properties.getPath(), c.expected);
    }
}

// Answers the working-directory query as the platform would for directories that
// Wine cannot produce: a share's root keeps its separator, as a drive root does.
const char* answer = "";
DWORD WINAPI fakeCurrentDirectory(DWORD size, LPSTR buffer) {
    DWORD length = static_cast<DWORD>(strlen(answer));
    if (length + 1 > size)
        return length + 1; // the size needed; the buffer is left alone
    memcpy(buffer, answer, length + 1);
    return length;
}
DWORD WINAPI failingCurrentDirectory(DWORD, LPSTR) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
}

TEST(AppProperties, PathFromAnswersNoRealDirectoryGives) {
    struct Case {
        std::string directory;
        std::string expected;
    };
    const std::string longest(259, 'd'), tooLong(260, 'd');
    const Case cases[] = {
        {"\\\\server\\share\\", "\\\\server\\share\\\\"}, // longer than three: a second one
        {"D:\\", "D:\\"},
        {"D:", "D:"}, // three or fewer: left as it is
        {longest, longest + "\\"},
        {tooLong, ""}, // does not fit the buffer: nothing rather than a stump
    };
    for (const Case& c : cases) {
        answer = c.directory.c_str();
        EXPECT_EQ(appProperties(fakeCurrentDirectory).getPath(), c.expected) << c.directory;
    }
    EXPECT_EQ(appProperties(failingCurrentDirectory).getPath(), "");
}

TEST(AppProperties, UnreadableWorkingDirectoryGivesEmptyPath) {
    // Wine will not start a program in such a directory, but the wide call can move
    // there; the ANSI query then fails (too long for its 260-byte buffer).
    std::wstring deep = tempRoot();
    while (deep.size() < 300)
        deep = makeDirectory(deep + L"\\a_rather_long_directory_name_for_this_test");
    WorkingDirectory cwd(deep);
    ASSERT_TRUE(cwd.ok());
    appProperties properties;
    EXPECT_EQ(properties.getPath(), "");
}

TEST(AppProperties, ConstantsStartEmptyAndHoldWhatWasSet) {
    appProperties properties;
    EXPECT_EQ(properties.getDescription(), "");
    EXPECT_EQ(properties.getName(), "");
    EXPECT_EQ(properties.getExeName(), "");
    EXPECT_EQ(properties.getReadmeName(), "");
    properties.setDescription("credit");
    properties.setName("Tarvosk");
    properties.setExeName("tarvosk.com");
    properties.setReadmeName("tarvosk.txt");
    EXPECT_EQ(properties.getDescription(), "credit");
    EXPECT_EQ(properties.getName(), "Tarvosk");
    EXPECT_EQ(properties.getExeName(), "tarvosk.com");
    EXPECT_EQ(properties.getReadmeName(), "tarvosk.txt");
}

TEST(AppProperties, GettersHandOutCopies) {
    appProperties properties;
    properties.setName("Tarvosk");
    std::string name = properties.getName();
    name += "-changed";
    std::string path = properties.getPath();
    path = "elsewhere";
    EXPECT_EQ(properties.getName(), "Tarvosk");
    EXPECT_NE(properties.getPath(), "elsewhere");
}

} // namespace
