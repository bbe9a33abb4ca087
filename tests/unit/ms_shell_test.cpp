#include "launch/ms_shell.h"
#include "launch/system_reason.h"

#include "long_folder.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <functional>
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
    std::string directory;
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
    record.directory = text(directory);
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

// DOSBox where the test says it is: "" for nowhere.
std::string dosBoxAt;
bool wine = false;
bool fakeIsFile(const std::string& path) {
    return !dosBoxAt.empty() && path == dosBoxAt;
}
std::string fakeRegistryText(HKEY, const char*, const char*) {
    return "";
}
std::string fakeEnvironment(const char*) {
    return "";
}
bool fakeUnderWine() {
    return wine;
}
std::string fakeWindowsName(const char*) {
    return "";
}
const DosBoxLookups dosBoxFakes{fakeIsFile, fakeRegistryText, fakeEnvironment, fakeUnderWine,
                                fakeWindowsName};

msShell shellWithFakes() {
    return msShell(fakes, dosBoxFakes);
}

class MsShell : public ::testing::Test {
  protected:
    void SetUp() override {
        record = Record();
        dosBoxAt = "";
        wine = false;
    }
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
        shellWithFakes().execute(c.file, c.parameters, false);
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
            shellWithFakes().execute("C:\\GAMES\\tarvosk.com", "/x", quit);
            ASSERT_EQ(record.boxes.size(), 1u) << "result " << result;
            EXPECT_EQ(record.boxes[0].owner, nullptr);
            EXPECT_EQ(record.boxes[0].text, "Cannot find the file...C:\\GAMES\\tarvosk.com");
            EXPECT_EQ(record.boxes[0].title, "File Error");
            EXPECT_EQ(record.boxes[0].flags, 0x10u);
            EXPECT_TRUE(record.quits.empty());
        }
    }
}

TEST_F(MsShell, AStartQuitsExactlyWhenAskedAndShowsNothing) {
    for (INT_PTR result : {INT_PTR(33), INT_PTR(42), INT_PTR(0x7FFF0000)}) {
        for (bool quit : {true, false}) {
            record = Record();
            record.result = result;
            shellWithFakes().execute("C:\\tarvosk.com", "/c", quit);
            EXPECT_TRUE(record.boxes.empty()) << "result " << result;
            EXPECT_EQ(record.quits, quit ? std::vector<int>{0} : std::vector<int>{})
                << "result " << result << " quit " << quit;
        }
    }
}

TEST_F(MsShell, OtherFailuresAreReportedWithTheSystemsReasonAndNeverQuit) {
    struct Case {
        INT_PTR result;
        DWORD error;
    };
    const Case cases[] = {
        {0, ERROR_NOT_ENOUGH_MEMORY}, {5, ERROR_ACCESS_DENIED},      {8, ERROR_NOT_ENOUGH_MEMORY},
        {11, ERROR_BAD_FORMAT},       {26, ERROR_SHARING_VIOLATION}, {27, ERROR_NO_ASSOCIATION},
        {28, ERROR_DDE_FAIL},         {31, ERROR_NO_ASSOCIATION},    {32, ERROR_DLL_NOT_FOUND},
    };
    for (const Case& c : cases) {
        for (bool quit : {true, false}) {
            record = Record();
            record.result = c.result;
            shellWithFakes().execute("C:\\GAMES\\tarvosk.txt", "", quit);
            ASSERT_EQ(record.boxes.size(), 1u) << "result " << c.result;
            EXPECT_EQ(record.boxes[0].owner, nullptr);
            EXPECT_EQ(record.boxes[0].text,
                      "Cannot open the file...C:\\GAMES\\tarvosk.txt\n\n" + systemReason(c.error))
                << "result " << c.result;
            EXPECT_EQ(record.boxes[0].title, "File Error");
            EXPECT_EQ(record.boxes[0].flags, 0x10u);
            EXPECT_TRUE(record.quits.empty()) << "result " << c.result;
        }
    }
}

TEST(SystemReason, IsTheSystemsOwnLineOrNamesTheCode) {
    std::string reason = systemReason(ERROR_NO_ASSOCIATION);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(reason.find("Error "), std::string::npos) << reason;
    EXPECT_NE(reason.back(), '\n');
    EXPECT_NE(reason.back(), '\r');
    EXPECT_EQ(systemReason(0x2000FFFF), "Error 536936447.");
}

TEST_F(MsShell, CallsAreIndependent) {
    msShell shell = shellWithFakes();
    record.result = 2;
    shell.execute("a.com", "", true);
    record.result = 42;
    shell.execute("b.com", "", true);
    EXPECT_EQ(record.shellCalls, 2);
    ASSERT_EQ(record.boxes.size(), 1u);
    EXPECT_EQ(record.boxes[0].text, "Cannot find the file...a.com");
    EXPECT_EQ(record.quits, std::vector<int>{0});
}

// A launch directory of real files, for what the runner reads of the game program.
class GameFolder {
  public:
    GameFolder() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path_ = std::string(temp) + "ms_shell_test_" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~GameFolder() {
        DeleteFileA((path_ + "tarvosk.com").c_str());
        RemoveDirectoryA((path_ + "tarvosk.com").c_str());
        RemoveDirectoryA(path_.c_str());
    }
    const std::string& path() const { return path_; }
    std::string game() const { return path_ + "tarvosk.com"; }
    void write(const std::string& bytes) const {
        HANDLE h =
            CreateFileA(game().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }

  private:
    std::string path_;
};

std::string withHeader(const char* signature, size_t length) {
    std::string image(0x80, '\0');
    image[0] = 'M';
    image[1] = 'Z';
    image[0x3C] = 0x40;
    image.replace(0x40, length, signature, length);
    return image;
}

const std::string dosImage("\xB4\x4C\xCD\x21", 4);

TEST_F(MsShell, AWindowsGameProgramGoesToTheShellAsItIs) {
    GameFolder folder;
    folder.write(withHeader("PE\0\0", 4));
    dosBoxAt = folder.path() + "DOSBOX\\DOSBox.exe";
    shellWithFakes().executeGame(folder.game(), "/x", true, "Tarvosk");
    EXPECT_EQ(record.shellCalls, 1);
    EXPECT_EQ(record.file, folder.game());
    EXPECT_EQ(record.parameters, "/x");
    EXPECT_TRUE(record.directoryNull);
    EXPECT_TRUE(record.boxes.empty());
    EXPECT_EQ(record.quits, std::vector<int>{0});
}

TEST_F(MsShell, ADosGameProgramStartsInDosBoxInItsFolder) {
    GameFolder folder;
    folder.write(dosImage);
    dosBoxAt = folder.path() + "DOSBOX\\DOSBox.exe";
    for (const char* parameters : {"/x", "/c", "/u"}) {
        for (bool quit : {true, false}) {
            record = Record();
            shellWithFakes().executeGame(folder.game(), parameters, quit, "Tarvosk");
            EXPECT_EQ(record.shellCalls, 1);
            EXPECT_EQ(record.verb, "open");
            EXPECT_EQ(record.file, dosBoxAt);
            EXPECT_EQ(record.parameters, dosBoxParameters({dosBoxAt, DosBox::Kind::Classic},
                                                          "tarvosk.com", parameters));
            EXPECT_EQ(record.directory, folder.path());
            EXPECT_EQ(record.show, SW_SHOWNORMAL);
            EXPECT_TRUE(record.boxes.empty());
            EXPECT_EQ(record.quits, quit ? std::vector<int>{0} : std::vector<int>{});
        }
    }
}

TEST_F(MsShell, WhatCannotBeStartedIsReportedAndNothingStarts) {
    GameFolder folder;
    const std::string game = folder.game();
    struct Case {
        const char* what;
        std::function<void()> prepare;
        std::string text;
        std::string title;
    };
    const std::string noDosBox =
        "Tarvosk is a DOS program, which this Windows cannot run by itself.\n\nTo play it, "
        "install DOSBox Staging or DOSBox-X, or put DOSBox in a folder named DOSBOX beside the "
        "launcher.";
    const std::string noDosBoxUnderWine =
        "Tarvosk is a DOS program, which Wine cannot run by itself.\n\nTo play it, install your "
        "distribution's dosbox package, or put DOSBox in a folder named DOSBOX beside the "
        "launcher.";
    const Case cases[] = {
        {"no DOSBox", [&] { folder.write(dosImage); }, noDosBox, "DOSBox Not Found"},
        {"no DOSBox under Wine",
         [&] {
             folder.write(dosImage);
             wine = true;
         },
         noDosBoxUnderWine, "DOSBox Not Found"},
        {"16-bit Windows", [&] { folder.write(withHeader("NE", 2)); },
         "Cannot start the file..." + game +
             "\n\nIt is a program for 16-bit Windows, which this version of Windows cannot run.",
         "File Error"},
        {"empty", [&] { folder.write(""); },
         "Cannot read the file..." + game + "\n\nThe file is empty.", "File Error"},
        {"missing", [&] { DeleteFileA(game.c_str()); }, "Cannot find the file..." + game,
         "File Error"},
        {"a folder by its name",
         [&] {
             DeleteFileA(game.c_str());
             CreateDirectoryA(game.c_str(), nullptr);
         },
         "Cannot find the file..." + game, "File Error"},
    };
    for (const Case& c : cases) {
        record = Record();
        wine = false;
        c.prepare();
        shellWithFakes().executeGame(game, "/x", true, "Tarvosk");
        EXPECT_EQ(record.shellCalls, 0) << c.what;
        ASSERT_EQ(record.boxes.size(), 1u) << c.what;
        EXPECT_EQ(record.boxes[0].owner, nullptr) << c.what;
        EXPECT_EQ(record.boxes[0].text, c.text) << c.what;
        EXPECT_EQ(record.boxes[0].title, c.title) << c.what;
        EXPECT_EQ(record.boxes[0].flags, 0x10u) << c.what;
        EXPECT_TRUE(record.quits.empty()) << c.what;
    }
}

TEST_F(MsShell, DosBoxThatFailsToStartIsReportedByName) {
    GameFolder folder;
    folder.write(dosImage);
    dosBoxAt = folder.path() + "DOSBOX\\DOSBox.exe";
    record.result = SE_ERR_ACCESSDENIED;
    shellWithFakes().executeGame(folder.game(), "/x", true, "Tarvosk");
    ASSERT_EQ(record.boxes.size(), 1u);
    EXPECT_EQ(record.boxes[0].text,
              "Cannot open the file..." + dosBoxAt + "\n\n" + systemReason(ERROR_ACCESS_DENIED));
    EXPECT_TRUE(record.quits.empty());
}

// A launch directory that fits a path while its files' names do not: the shell
// is handed the short form, the player is told of the full name.
TEST_F(MsShell, FilesWhoseNamesDoNotFitReachTheShellByTheirShortNames) {
    LongFolder folder("ms_shell_test", 250);
    ASSERT_TRUE(folder.made());
    ASSERT_TRUE(folder.write("tarvosk.com", withHeader("PE\0\0", 4)));
    const std::string shortFolder = folder.shortPath();
    ASSERT_FALSE(shortFolder.empty());
    struct Case {
        const char* what;
        std::function<void(const std::string&)> run;
        std::string name;
    };
    const Case cases[] = {
        {"document", [](const std::string& f) { shellWithFakes().execute(f, "", false); },
         "tarvosk.txt"},
        {"Windows game program",
         [](const std::string& f) { shellWithFakes().executeGame(f, "/x", false, "Tarvosk"); },
         "tarvosk.com"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string full = folder.file(c.name);
        record = Record();
        c.run(full);
        EXPECT_EQ(record.shellCalls, 1);
        EXPECT_EQ(record.file, shortFolder + "\\" + c.name);
        EXPECT_TRUE(record.boxes.empty());

        record = Record();
        record.result = SE_ERR_FNF;
        c.run(full);
        ASSERT_EQ(record.boxes.size(), 1u);
        EXPECT_EQ(record.boxes[0].text, "Cannot find the file..." + full);
    }
}

// DOSBox is looked for beside it, and started in its folder, by the folder's short
// name too: the shell refuses a working directory whose name is too long.
TEST_F(MsShell, ADosGameProgramWhoseNameDoesNotFitIsReadAndStartsInItsFolder) {
    LongFolder folder("ms_shell_test", 250);
    ASSERT_TRUE(folder.made());
    ASSERT_TRUE(folder.write("tarvosk.com", dosImage));
    const std::string shortFolder = folder.shortPath();
    ASSERT_FALSE(shortFolder.empty());
    dosBoxAt = shortFolder + "\\DOSBOX\\DOSBox.exe";
    shellWithFakes().executeGame(folder.file("tarvosk.com"), "/x", true, "Tarvosk");
    EXPECT_TRUE(record.boxes.empty());
    EXPECT_EQ(record.shellCalls, 1);
    EXPECT_EQ(record.file, dosBoxAt);
    EXPECT_EQ(record.directory, shortFolder + "\\");
    EXPECT_EQ(record.parameters,
              dosBoxParameters({dosBoxAt, DosBox::Kind::Classic}, "tarvosk.com", "/x"));

    // Missing, it is reported by its full name.
    ASSERT_TRUE(folder.remove("tarvosk.com"));
    record = Record();
    shellWithFakes().executeGame(folder.file("tarvosk.com"), "/x", true, "Tarvosk");
    EXPECT_EQ(record.shellCalls, 0);
    ASSERT_EQ(record.boxes.size(), 1u);
    EXPECT_EQ(record.boxes[0].text, "Cannot find the file..." + folder.file("tarvosk.com"));
}

} // namespace
