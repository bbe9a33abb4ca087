// A launch directory longer than a path may be. Wine will not start a program in
// one, but the wide call can move a running program there, so this test moves
// itself before it builds the settings and calls the real runner with the real shell.
#include "launch/app_properties.h"
#include "launch/ms_shell.h"

#include "box_watcher.h"
#include "long_folder.h"

#include "launch_directory.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::wstring programDirectory() {
    wchar_t buffer[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    std::wstring path(buffer, length);
    return path.substr(0, path.rfind(L'\\'));
}

std::wstring tempDirectory() {
    wchar_t buffer[MAX_PATH];
    DWORD length = GetTempPathW(MAX_PATH, buffer);
    return std::wstring(buffer, length) + L"long_directory_test";
}

// A directory of more than 300 characters holding the stand-in as tarvosk.com,
// made the working directory while the object lives; everything goes afterwards.
class LongWorkingDirectory {
  public:
    LongWorkingDirectory() {
        removeLongTree(root_);
        path_ = root_;
        CreateDirectoryW(path_.c_str(), nullptr);
        while (path_.size() <= 300) {
            path_ += L"\\a_rather_long_folder_name_of_a_game_kept_in_deep_folders";
            CreateDirectoryW(extendedName(path_).c_str(), nullptr);
        }
        copied_ = CopyFileW((programDirectory() + L"\\standin.exe").c_str(),
                            extendedName(path_ + L"\\tarvosk.com").c_str(), FALSE) != FALSE;
        GetCurrentDirectoryW(MAX_PATH, saved_);
        entered_ = SetCurrentDirectoryW(path_.c_str()) != FALSE;
    }
    ~LongWorkingDirectory() {
        SetCurrentDirectoryW(saved_);
        removeLongTree(root_);
    }
    LongWorkingDirectory(const LongWorkingDirectory&) = delete;
    LongWorkingDirectory& operator=(const LongWorkingDirectory&) = delete;

    bool ready() const { return copied_ && entered_; }
    const std::wstring& path() const { return path_; }
    std::wstring log() const { return root_ + L"\\standin.log"; }

  private:
    std::wstring root_ = tempDirectory();
    std::wstring path_;
    wchar_t saved_[MAX_PATH] = L"";
    bool copied_ = false, entered_ = false;
};

bool quitWasPosted() {
    MSG message;
    return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

TEST(LongLaunchDirectory, SettingsFallBackAndWhatTheShellCannotStartIsReported) {
    LongWorkingDirectory directory;
    ASSERT_TRUE(directory.ready());
    ASSERT_GT(directory.path().size(), 259u);
    SetEnvironmentVariableW(L"TARVOSK_STANDIN_LOG", directory.log().c_str());

    appProperties properties;
    EXPECT_EQ(properties.getPath(), "");
    // The name the runner is given finds the game program in the working directory.
    const std::string game = properties.getPath() + "tarvosk.com";
    EXPECT_NE(GetFileAttributesA(game.c_str()), INVALID_FILE_ATTRIBUTES);

    BoxWatcher watcher;
    msShell().execute(game, "/x", true);
    Sleep(2000); // the game's record, if it starts, is written by now
    auto boxes = watcher.boxes();
    // Measured: Wine's process creation refuses a working directory this long
    // (error 206), so its shell answers "not found" (2, error 3) for a file it can
    // see. The player is then told, by the name the runner was given, and the
    // launcher stays; no truncated or foreign path is ever tried.
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "File Error");
    EXPECT_EQ(boxes[0].text, "Cannot find the file...tarvosk.com");
    EXPECT_EQ(support::readFile(directory.log()), "");
    EXPECT_FALSE(quitWasPosted());
}

} // namespace
