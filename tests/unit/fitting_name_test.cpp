#include "launch/fitting_name.h"

#include "long_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What a volume without short names answers: the folder as it was asked for.
DWORD WINAPI noShortNames(LPCSTR path, LPSTR buffer, DWORD size) {
    DWORD length = lstrlenA(path);
    if (length >= size)
        return length + 1;
    lstrcpyA(buffer, path);
    return length;
}

DWORD WINAPI shortNamesFail(LPCSTR, LPSTR, DWORD) {
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
}

// Makes `folder` the current directory while the object lives.
class InFolder {
  public:
    explicit InFolder(const std::string& folder) {
        GetCurrentDirectoryA(MAX_PATH, saved_);
        entered_ = SetCurrentDirectoryA(folder.c_str()) != FALSE;
    }
    ~InFolder() { SetCurrentDirectoryA(saved_); }
    InFolder(const InFolder&) = delete;
    InFolder& operator=(const InFolder&) = delete;
    bool entered() const { return entered_; }

  private:
    char saved_[MAX_PATH] = "";
    bool entered_ = false;
};

TEST(FitsAPath, CountsCharactersWithTheTerminator) {
    EXPECT_TRUE(fitsAPath("C:\\" + std::string(256, 'n')));  // 259 and the terminator
    EXPECT_FALSE(fitsAPath("C:\\" + std::string(257, 'n'))); // 260
    EXPECT_TRUE(fitsAPath(""));
}

TEST(FittingName, ANameThatFitsOrHasNoFolderComesBackAsGiven) {
    const std::string tooLongWithoutFolder(300, 'n');
    for (const std::string& name :
         {std::string("C:\\GAMES\\tarvosk.txt"), std::string("tarvosk.com"),
          std::string("https://kelvane.example/"), tooLongWithoutFolder}) {
        EXPECT_EQ(fittingName(name, shortNamesFail), name);
    }
}

TEST(FittingName, AFileInAFolderThatFitsIsNamedByTheFoldersShortForm) {
    LongFolder folder("fitting_name_test", 250);
    ASSERT_TRUE(folder.made());
    ASSERT_TRUE(folder.write("tarvosk.txt", "Tarvosk\r\n"));
    const std::string full = folder.file("tarvosk.txt");
    ASSERT_FALSE(fitsAPath(full));
    const std::string shortFolder = folder.shortPath();
    ASSERT_FALSE(shortFolder.empty());
    ASSERT_LT(shortFolder.size(), folder.path().size());

    std::string reachable = fittingName(full);
    EXPECT_EQ(reachable, shortFolder + "\\tarvosk.txt");
    // The narrow calls reach the file by it, as they cannot by the full name.
    EXPECT_NE(GetFileAttributesA(reachable.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA(full.c_str()), INVALID_FILE_ATTRIBUTES);
    // A file not there yet is named the same way, so that the shell says "not found".
    EXPECT_EQ(fittingName(folder.file("missing.com")), shortFolder + "\\missing.com");
}

// Short names can be switched off per volume; Wine always makes them, so the
// query is replaced here.
TEST(FittingName, WithoutShortNamesOnlyTheCurrentFolderIsNamedByTheBareName) {
    LongFolder folder("fitting_name_test", 250);
    ASSERT_TRUE(folder.made());
    const std::string full = folder.file("tarvosk.txt");
    struct Case {
        const char* what;
        ShortPathQuery query;
        bool inFolder;
        std::string expected;
    };
    const Case cases[] = {
        {"no short names, in the folder", noShortNames, true, "tarvosk.txt"},
        {"query fails, in the folder", shortNamesFail, true, "tarvosk.txt"},
        // Elsewhere the bare name would be another folder's file.
        {"no short names, elsewhere", noShortNames, false, full},
        {"query fails, elsewhere", shortNamesFail, false, full},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        InFolder current(c.inFolder ? folder.path() : folder.shortPath() + "\\..");
        ASSERT_TRUE(current.entered());
        EXPECT_EQ(fittingName(full, c.query), c.expected);
    }
}

} // namespace
