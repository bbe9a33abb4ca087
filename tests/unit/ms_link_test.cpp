#include "launch/ms_link.h"

#include "box_watcher.h"
#include "components/application.h"
#include "base/handles.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <shobjidl.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A box with only OK, no icon, owned by nobody (plain) or by the application.
void expectBox(const BoxWatcher::Box& box, const std::string& text, HWND owner) {
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.title, "Error");
    EXPECT_EQ(box.owner, owner) << text;
    EXPECT_EQ(box.buttons, std::vector<int>{IDOK}) << text;
    EXPECT_FALSE(box.icon) << text;
}

std::string ansi(const fs::path& path) {
    char text[MAX_PATH * 2] = "";
    WideCharToMultiByte(CP_ACP, 0, path.c_str(), -1, text, sizeof text, nullptr, nullptr);
    return text;
}

std::vector<std::string> filesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(ansi(entry.path().filename()));
    return names;
}

// What a fresh shell link reads back from a saved file.
struct Saved {
    HRESULT loaded = E_FAIL;
    std::string path, workingDirectory, description, arguments, icon;
    WORD hotkey = 0xFFFF;
    int show = -1;
};

Saved readBack(const std::string& file) {
    Saved saved;
    ComPtr<IShellLinkA> link;
    ComPtr<IPersistFile> persist;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                link.out())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, persist.out())))
        return saved;
    std::wstring wide(file.begin(), file.end());
    saved.loaded = persist->Load(wide.c_str(), STGM_READ);
    char text[MAX_PATH] = "";
    link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
    saved.path = text;
    link->GetWorkingDirectory(text, MAX_PATH);
    saved.workingDirectory = text;
    link->GetDescription(text, MAX_PATH);
    saved.description = text;
    link->GetArguments(text, MAX_PATH);
    saved.arguments = text;
    int index = 0;
    link->GetIconLocation(text, MAX_PATH, &index);
    saved.icon = text;
    link->GetHotkey(&saved.hotkey);
    link->GetShowCmd(&saved.show);
    return saved;
}

// A fresh temporary folder per test, and drive X: (a build folder) cleared of
// what the tests put there.
int applicationMessageBox(const std::string& text, const std::string& caption, UINT flags) {
    return Application->MessageBox(text, caption, flags);
}

class MsLink : public ::testing::Test {
  protected:
    // As the program entry does: the maker's application box is the application's.
    static void SetUpTestSuite() {
        CoInitialize(nullptr);
        useApplicationMessageBox(applicationMessageBox);
    }

    void SetUp() override {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = fs::path(temp) / L"ms_link_test" /
                  ::testing::UnitTest::GetInstance()->current_test_info()->name();
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        clearDriveX();
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
        clearDriveX();
    }

    static void clearDriveX() {
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(L"X:\\", ignored))
            fs::remove_all(entry.path(), ignored);
    }

    std::string folder() const { return ansi(folder_); }
    fs::path folder_;
};

TEST_F(MsLink, SavedShortcutStartsTheFileInItsDirectory) {
    struct Case {
        std::string directory, target;
    };
    const std::string games = folder() + "\\GAMES\\ARCADE";
    fs::create_directories(folder_ / L"GAMES" / L"ARCADE");
    const Case cases[] = {
        {games, games + "\\tarvosk.com"},
        {games + "\\", games + "\\tarvosk.com"}, // no second separator
        {"X:\\", "X:\\tarvosk.com"},             // a drive root already ends in one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.directory);
        const std::string links = folder() + "\\links";
        fs::remove_all(folder_ / L"links");
        fs::create_directory(folder_ / L"links");
        BoxWatcher watcher;
        EXPECT_TRUE(msLink().createShortcut(c.directory, "tarvosk.com", links, "Tarvosk"));
        EXPECT_TRUE(watcher.boxes().empty());
        EXPECT_EQ(filesIn(folder_ / L"links"), std::vector<std::string>{"Tarvosk.lnk"});
        Saved saved = readBack(links + "\\Tarvosk.lnk");
        EXPECT_EQ(saved.loaded, S_OK);
        EXPECT_EQ(saved.path, c.target);
        EXPECT_EQ(saved.workingDirectory, c.directory);
        EXPECT_EQ(saved.description, "Tarvosk");
        // Nothing else is set.
        EXPECT_EQ(saved.arguments, "");
        EXPECT_EQ(saved.icon, "");
        EXPECT_EQ(saved.hotkey, 0);
        EXPECT_EQ(saved.show, SW_SHOWNORMAL);
    }
}

TEST_F(MsLink, LinkFileIsTheNameWithLnkInTheFolder) {
    struct Case {
        std::string folder, name;
        fs::path expected;
    };
    const std::string base = folder();
    const Case cases[] = {
        {base, "Tarvosk", folder_ / L"Tarvosk.lnk"},
        {base + "\\", "Tarvosk", folder_ / L"Tarvosk.lnk"},
        {base, "Tarvosk v1.2", folder_ / L"Tarvosk v1.2.lnk"}, // a dot is not an extension
        {"X:\\", "Tarvosk", L"X:\\Tarvosk.lnk"},
        {"X:", "Tarvosk", L"X:\\Tarvosk.lnk"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder + " | " + c.name);
        BoxWatcher watcher;
        EXPECT_TRUE(msLink().createShortcut("C:\\GAMES", "tarvosk.com", c.folder, c.name));
        EXPECT_TRUE(watcher.boxes().empty());
        EXPECT_EQ(filesIn(c.expected.parent_path()),
                  std::vector<std::string>{ansi(c.expected.filename())});
        EXPECT_EQ(readBack(ansi(c.expected)).description, c.name);
        fs::remove(c.expected);
    }
}

TEST_F(MsLink, SavingAgainReplacesTheShortcut) {
    msLink link;
    BoxWatcher watcher;
    EXPECT_TRUE(link.createShortcut("C:\\GAMES", "old.com", folder(), "Tarvosk"));
    EXPECT_TRUE(link.createShortcut("D:\\ARCADE", "tarvosk.com", folder(), "Tarvosk"));
    EXPECT_TRUE(watcher.boxes().empty());
    EXPECT_EQ(filesIn(folder_), std::vector<std::string>{"Tarvosk.lnk"});
    Saved saved = readBack(folder() + "\\Tarvosk.lnk");
    EXPECT_EQ(saved.path, "D:\\ARCADE\\tarvosk.com");
    EXPECT_EQ(saved.workingDirectory, "D:\\ARCADE");
}

TEST_F(MsLink, FolderThatDoesNotExistReportsTheSave) {
    BoxWatcher watcher;
    EXPECT_FALSE(
        msLink().createShortcut("C:\\GAMES", "tarvosk.com", folder() + "\\missing", "Tarvosk"));
    auto boxes = watcher.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    expectBox(boxes[0], "IPersistFile->Save() Error", nullptr);
    EXPECT_TRUE(filesIn(folder_).empty());
}

// A link file name has room for 259 characters; one more is refused rather than
// saved under a shortened name.
TEST_F(MsLink, LinkFileNameMustFitAPath) {
    const std::string base = folder();
    for (size_t length : {size_t(259), size_t(260), size_t(400)}) {
        SCOPED_TRACE(length);
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        const std::string name(length - base.size() - 1 - 4, 'n');
        BoxWatcher watcher;
        bool saved = msLink().createShortcut("C:\\GAMES", "tarvosk.com", base, name);
        auto boxes = watcher.boxes();
        if (length <= 259) {
            EXPECT_TRUE(saved);
            EXPECT_TRUE(boxes.empty());
            EXPECT_EQ(filesIn(folder_), std::vector<std::string>{name + ".lnk"});
        } else {
            EXPECT_FALSE(saved);
            ASSERT_EQ(boxes.size(), 1u);
            expectBox(boxes[0], "Could not create a shortcut in " + base, Application->Handle());
            EXPECT_TRUE(filesIn(folder_).empty());
        }
    }
}

// A shell link keeps a target of 259 characters; under Wine a longer one is saved
// as a stump of two characters, so the maker refuses it instead.
TEST_F(MsLink, TargetMustFitAPath) {
    const std::string file = "tarvosk.com";
    for (size_t length : {size_t(259), size_t(260), size_t(400)}) {
        SCOPED_TRACE(length);
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        const std::string directory = "C:\\" + std::string(length - 3 - 1 - file.size(), 'd');
        BoxWatcher watcher;
        bool saved = msLink().createShortcut(directory, file, folder(), "Tarvosk");
        auto boxes = watcher.boxes();
        if (length <= 259) {
            EXPECT_TRUE(saved);
            EXPECT_TRUE(boxes.empty());
            Saved link = readBack(folder() + "\\Tarvosk.lnk");
            EXPECT_EQ(link.path, directory + "\\" + file);
            EXPECT_EQ(link.workingDirectory, directory);
        } else {
            EXPECT_FALSE(saved);
            ASSERT_EQ(boxes.size(), 1u);
            expectBox(boxes[0], "Could not create a shortcut in " + folder(),
                      Application->Handle());
            EXPECT_TRUE(filesIn(folder_).empty());
        }
    }
}

// An empty folder is what a failed special-folder lookup gives; its box has been shown.
TEST_F(MsLink, EmptyFolderWritesNothingAndStaysQuiet) {
    fs::create_directory(L"X:\\work");
    wchar_t saved[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, saved);
    ASSERT_TRUE(SetCurrentDirectoryW(L"X:\\work"));
    BoxWatcher watcher;
    bool created = msLink().createShortcut("C:\\GAMES", "tarvosk.com", "", "Tarvosk");
    auto boxes = watcher.boxes();
    SetCurrentDirectoryW(saved);
    EXPECT_FALSE(created);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(filesIn(L"X:\\"), std::vector<std::string>{"work"});
    EXPECT_TRUE(filesIn(L"X:\\work").empty());
}

TEST_F(MsLink, DesktopFolderIsThePrefixDesktop) {
    char user[256] = "";
    ASSERT_NE(GetEnvironmentVariableA("USERNAME", user, sizeof user), 0u);
    BoxWatcher watcher;
    std::string desktop = msLink().getSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    EXPECT_TRUE(watcher.boxes().empty());
    EXPECT_EQ(desktop, std::string("C:\\users\\") + user + "\\Desktop");
    DWORD attributes = GetFileAttributesA(desktop.c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(MsLink, FolderWithoutAPathIsReportedOnce) {
    // CSIDL_DRIVES has a location but no path; 0x7F0 is no folder at all.
    for (int csidl : {CSIDL_DRIVES, 0x7F0}) {
        SCOPED_TRACE(csidl);
        BoxWatcher watcher;
        EXPECT_EQ(msLink().getSpecialFolder(csidl), "");
        auto boxes = watcher.boxes();
        ASSERT_EQ(boxes.size(), 1u);
        expectBox(boxes[0], "Could not get the location of a special folder", nullptr);
    }
}

// Counts the task allocator's blocks between start and stop, to find item-id lists
// that are never freed.
class AllocationCounter final : public IMallocSpy {
  public:
    std::set<void*> live;
    bool counting = false, lost = false;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IMallocSpy) {
            *out = static_cast<IMallocSpy*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
    void* STDMETHODCALLTYPE PostAlloc(void* block) override {
        try {
            if (counting && block)
                live.insert(block);
        } catch (...) {
            lost = true;
        }
        return block;
    }
    void* STDMETHODCALLTYPE PreFree(void* block, BOOL) override {
        live.erase(block);
        return block;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T size, void** newBlock, BOOL) override {
        live.erase(block);
        *newBlock = block;
        return size;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* block, BOOL) override { return PostAlloc(block); }
    void* STDMETHODCALLTYPE PreGetSize(void* block, BOOL) override { return block; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* block, BOOL) override { return block; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}
};

TEST_F(MsLink, ItemIdListIsFreedOnEveryPath) {
    AllocationCounter counter;
    ASSERT_EQ(CoRegisterMallocSpy(&counter), S_OK);
    for (int csidl : {CSIDL_DESKTOPDIRECTORY, CSIDL_DRIVES, 0x7F0}) {
        SCOPED_TRACE(csidl);
        BoxWatcher watcher;
        msLink().getSpecialFolder(csidl); // the shell's first-use allocations stay
        counter.counting = true;
        msLink().getSpecialFolder(csidl);
        counter.counting = false;
        EXPECT_EQ(counter.live.size(), 0u);
        EXPECT_FALSE(counter.lost);
        counter.live.clear();
    }
    CoRevokeMallocSpy();
}

// A shell link for the failures the real one cannot be made to produce. Its two
// interfaces count their references apart, so that each release can be checked.
struct FakeShell {
    HRESULT createResult = S_OK, setterResult = S_OK, queryResult = S_OK, saveResult = S_OK;
    // Whether Save writes the file, as a save that fails part way can too.
    bool saveWrites = true;
    int creations = 0;
    bool createdRight = false;
    LONG linkRefs = 0, fileRefs = 0;
    bool overReleased = false;
    std::vector<std::string> calls;
};
FakeShell shell;

std::string narrow(LPCOLESTR text) {
    char out[MAX_PATH * 2] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof out, nullptr, nullptr);
    return out;
}

ULONG release(LONG& refs, const char* what) {
    shell.calls.push_back(std::string("Release ") + what);
    if (refs == 0) {
        shell.overReleased = true;
        return 0;
    }
    return --refs;
}

class FakeFile final : public IPersistFile {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return unexpected("IPersistFile::QueryInterface");
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++shell.fileRefs; }
    ULONG STDMETHODCALLTYPE Release() override { return release(shell.fileRefs, "file"); }
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return unexpected("GetClassID"); }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return unexpected("IsDirty"); }
    HRESULT STDMETHODCALLTYPE Load(LPCOLESTR, DWORD) override { return unexpected("Load"); }
    // Records a temporary name beside the link as "<link> (temporary)": the rest
    // of it differs from run to run.
    HRESULT STDMETHODCALLTYPE Save(LPCOLESTR name, BOOL remember) override {
        std::string saved = narrow(name);
        std::smatch temporary;
        if (std::regex_match(saved, temporary, std::regex(R"(\\\\\?\\(.*\.lnk)-\d+-\d+)")))
            saved = temporary[1].str() + " (temporary)";
        shell.calls.push_back("Save " + saved + (remember == TRUE ? " TRUE" : " FALSE"));
        if (shell.saveWrites) {
            HANDLE h = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written;
            WriteFile(h, "half", 4, &written, nullptr);
            CloseHandle(h);
        }
        return shell.saveResult;
    }
    HRESULT STDMETHODCALLTYPE SaveCompleted(LPCOLESTR) override {
        return unexpected("SaveCompleted");
    }
    HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR*) override { return unexpected("GetCurFile"); }

  private:
    static HRESULT unexpected(const char* what) {
        shell.calls.push_back(what);
        return E_NOTIMPL;
    }
};
FakeFile fakeFile;

class FakeLink final : public IShellLinkA {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        shell.calls.push_back(iid == IID_IPersistFile ? "QueryInterface IPersistFile"
                                                      : "QueryInterface other");
        *out = nullptr;
        if (FAILED(shell.queryResult) || iid != IID_IPersistFile)
            return FAILED(shell.queryResult) ? shell.queryResult : E_NOINTERFACE;
        fakeFile.AddRef();
        *out = &fakeFile;
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++shell.linkRefs; }
    ULONG STDMETHODCALLTYPE Release() override { return release(shell.linkRefs, "link"); }
    HRESULT STDMETHODCALLTYPE SetPath(LPCSTR text) override { return set("SetPath", text); }
    HRESULT STDMETHODCALLTYPE SetWorkingDirectory(LPCSTR text) override {
        return set("SetWorkingDirectory", text);
    }
    HRESULT STDMETHODCALLTYPE SetDescription(LPCSTR text) override {
        return set("SetDescription", text);
    }
    HRESULT STDMETHODCALLTYPE GetPath(LPSTR, int, WIN32_FIND_DATAA*, DWORD) override {
        return unexpected("GetPath");
    }
    HRESULT STDMETHODCALLTYPE GetIDList(PIDLIST_ABSOLUTE*) override {
        return unexpected("GetIDList");
    }
    HRESULT STDMETHODCALLTYPE SetIDList(PCIDLIST_ABSOLUTE) override {
        return unexpected("SetIDList");
    }
    HRESULT STDMETHODCALLTYPE GetDescription(LPSTR, int) override {
        return unexpected("GetDescription");
    }
    HRESULT STDMETHODCALLTYPE GetWorkingDirectory(LPSTR, int) override {
        return unexpected("GetWorkingDirectory");
    }
    HRESULT STDMETHODCALLTYPE GetArguments(LPSTR, int) override {
        return unexpected("GetArguments");
    }
    HRESULT STDMETHODCALLTYPE SetArguments(LPCSTR) override { return unexpected("SetArguments"); }
    HRESULT STDMETHODCALLTYPE GetHotkey(WORD*) override { return unexpected("GetHotkey"); }
    HRESULT STDMETHODCALLTYPE SetHotkey(WORD) override { return unexpected("SetHotkey"); }
    HRESULT STDMETHODCALLTYPE GetShowCmd(int*) override { return unexpected("GetShowCmd"); }
    HRESULT STDMETHODCALLTYPE SetShowCmd(int) override { return unexpected("SetShowCmd"); }
    HRESULT STDMETHODCALLTYPE GetIconLocation(LPSTR, int, int*) override {
        return unexpected("GetIconLocation");
    }
    HRESULT STDMETHODCALLTYPE SetIconLocation(LPCSTR, int) override {
        return unexpected("SetIconLocation");
    }
    HRESULT STDMETHODCALLTYPE SetRelativePath(LPCSTR, DWORD) override {
        return unexpected("SetRelativePath");
    }
    HRESULT STDMETHODCALLTYPE Resolve(HWND, DWORD) override { return unexpected("Resolve"); }

  private:
    static HRESULT set(const char* what, LPCSTR text) {
        shell.calls.push_back(std::string(what) + (text ? " " + std::string(text) : " null"));
        return shell.setterResult;
    }
    static HRESULT unexpected(const char* what) {
        shell.calls.push_back(what);
        return E_NOTIMPL;
    }
};
FakeLink fakeLink;

HRESULT WINAPI fakeCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                                  LPVOID* out) {
    ++shell.creations;
    shell.createdRight = clsid == CLSID_ShellLink && !outer && context == CLSCTX_INPROC_SERVER &&
                         iid == IID_IShellLinkA;
    // A failing factory may leave anything in the out-pointer; none of it is owned.
    *out = static_cast<IShellLinkA*>(&fakeLink);
    if (FAILED(shell.createResult))
        return shell.createResult;
    fakeLink.AddRef();
    return shell.createResult;
}

LinkApi fakeApi() {
    LinkApi api = systemLinkApi();
    api.coCreateInstance = fakeCreateInstance;
    return api;
}

// The fakes' folders are real, for the file the fake link writes and the maker
// then moves into place.
// A shortcut made shows no box; one not made shows the save error alone.
void expectSaveOutcome(const std::vector<BoxWatcher::Box>& boxes, bool created) {
    if (created) {
        EXPECT_TRUE(boxes.empty());
        return;
    }
    ASSERT_EQ(boxes.size(), 1u);
    expectBox(boxes[0], "IPersistFile->Save() Error", nullptr);
}

class MsLinkFake : public ::testing::Test {
  protected:
    void SetUp() override {
        shell = FakeShell();
        removeFolders();
        fs::create_directory(L"C:\\Desk");
    }
    void TearDown() override {
        expectAllReleased();
        removeFolders();
    }
    static void removeFolders() {
        std::error_code ignored;
        fs::remove_all(L"C:\\Desk", ignored);
        fs::remove(L"X:\\Tarvosk.lnk", ignored);
    }
    // Whatever the path, every reference taken has been given back once.
    static void expectAllReleased() {
        EXPECT_EQ(shell.linkRefs, 0);
        EXPECT_EQ(shell.fileRefs, 0);
        EXPECT_FALSE(shell.overReleased);
    }
    const LinkApi api = fakeApi();
};

TEST_F(MsLinkFake, ShellLinkThatCannotBeCreatedIsReported) {
    for (HRESULT result : {REGDB_E_CLASSNOTREG, E_OUTOFMEMORY, CO_E_NOTINITIALIZED}) {
        shell = FakeShell();
        shell.createResult = result;
        BoxWatcher watcher;
        EXPECT_FALSE(msLink(api).createShortcut("C:\\GAMES", "tarvosk.com", "C:\\Desk", "T"));
        EXPECT_EQ(shell.creations, 1);
        EXPECT_TRUE(shell.createdRight);
        EXPECT_TRUE(shell.calls.empty()); // not even a release
        auto boxes = watcher.boxes();
        ASSERT_EQ(boxes.size(), 1u);
        expectBox(boxes[0], "Could not initialize COM", nullptr);
        expectAllReleased();
    }
}

TEST_F(MsLinkFake, ShellLinkWithoutAFileIsReportedForTheFolder) {
    shell.queryResult = E_NOINTERFACE;
    BoxWatcher watcher;
    EXPECT_FALSE(msLink(api).createShortcut("C:\\GAMES", "tarvosk.com", "C:\\Desk\\", "T"));
    const std::vector<std::string> calls{"SetPath C:\\GAMES\\tarvosk.com",
                                         "SetWorkingDirectory C:\\GAMES", "SetDescription T",
                                         "QueryInterface IPersistFile", "Release link"};
    EXPECT_EQ(shell.calls, calls);
    auto boxes = watcher.boxes();
    ASSERT_EQ(boxes.size(), 1u);
    expectBox(boxes[0], "Could not create a shortcut in C:\\Desk\\", Application->Handle());
}

// The real shell link tidies the texts it is given, so only a substitute shows
// them exactly as they arrive.
TEST_F(MsLinkFake, TextsArriveJoinedByOneSeparator) {
    struct Case {
        std::string directory, folder, target, link;
    };
    const Case cases[] = {
        {"C:\\GAMES", "C:\\Desk", "C:\\GAMES\\tarvosk.com", "C:\\Desk\\Tarvosk.lnk"},
        {"C:\\GAMES\\", "C:\\Desk\\", "C:\\GAMES\\tarvosk.com", "C:\\Desk\\Tarvosk.lnk"},
        {"X:\\", "X:\\", "X:\\tarvosk.com", "X:\\Tarvosk.lnk"},
        {"", "X:", "\\tarvosk.com", "X:\\Tarvosk.lnk"}, // "" has no separator to reuse
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.directory + " | " + c.folder);
        shell = FakeShell();
        EXPECT_TRUE(msLink(api).createShortcut(c.directory, "tarvosk.com", c.folder, "Tarvosk"));
        const std::vector<std::string> calls{"SetPath " + c.target,
                                             "SetWorkingDirectory " + c.directory,
                                             "SetDescription Tarvosk",
                                             "QueryInterface IPersistFile",
                                             "Save " + c.link + " (temporary) TRUE",
                                             "Release file",
                                             "Release link"};
        EXPECT_EQ(shell.calls, calls);
        expectAllReleased();
    }
}

TEST_F(MsLinkFake, OnlyTheSaveDecides) {
    struct Case {
        HRESULT setters, save;
        bool created;
    };
    const Case cases[] = {
        {S_OK, S_OK, true},
        {S_FALSE, S_OK, true}, // what SetPath says of a target not there yet
        {E_FAIL, S_OK, true},
        {E_INVALIDARG, S_OK, true},
        {S_OK, S_FALSE, false}, // a success code, but not S_OK
        {S_OK, E_FAIL, false},
        {E_FAIL, STG_E_ACCESSDENIED, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << c.setters << " " << c.save);
        shell = FakeShell();
        shell.setterResult = c.setters;
        shell.saveResult = c.save;
        BoxWatcher watcher;
        EXPECT_EQ(msLink(api).createShortcut("C:\\GAMES", "tarvosk.com", "C:\\Desk", "T"),
                  c.created);
        EXPECT_EQ(shell.calls.size(), 7u);
        expectSaveOutcome(watcher.boxes(), c.created);
        expectAllReleased();
    }
}

// A name too long to save and an empty folder end before the save; the empty
// folder before anything is created.
TEST_F(MsLinkFake, PathsThatEndEarlyTakeNothingAlong) {
    struct Case {
        std::string folder;
        int creations, boxes;
        std::vector<std::string> tail;
    };
    const std::string tooLong = "C:\\" + std::string(260, 'd');
    const Case cases[] = {
        {tooLong, 1, 1, {"QueryInterface IPersistFile", "Release file", "Release link"}},
        {"", 0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder.size());
        shell = FakeShell();
        BoxWatcher watcher;
        EXPECT_FALSE(msLink(api).createShortcut("C:\\GAMES", "tarvosk.com", c.folder, "T"));
        EXPECT_EQ(watcher.boxes().size(), size_t(c.boxes));
        EXPECT_EQ(shell.creations, c.creations);
        std::vector<std::string> tail(
            shell.calls.end() - std::min(shell.calls.size(), c.tail.size()), shell.calls.end());
        EXPECT_EQ(tail, c.tail);
        EXPECT_EQ(shell.calls.size(), c.tail.empty() ? 0u : c.tail.size() + 3);
        expectAllReleased();
    }
}

std::string contents(const fs::path& file) {
    std::string text;
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "(none)";
    char buffer[64];
    DWORD read = 0;
    if (ReadFile(h, buffer, sizeof buffer, &read, nullptr))
        text.assign(buffer, read);
    CloseHandle(h);
    return text;
}

// The link is saved under a temporary name and moved over the old one; whatever
// fails, the temporary file goes and the old link stays as it was.
TEST_F(MsLinkFake, OnEveryFailureTheOldLinkStaysAndNoTemporaryFileIsLeft) {
    struct Case {
        const char* what;
        HRESULT save;
        bool writes, folderInTheWay, created;
        std::string after; // Tarvosk.lnk's contents afterwards
    };
    const Case cases[] = {
        {"saved", S_OK, true, false, true, "half"},
        {"save fails part way", E_FAIL, true, false, false, "old"},
        {"save fails at once", STG_E_ACCESSDENIED, false, false, false, "old"},
        {"save claims success, writes nothing", S_OK, false, false, false, "old"},
        {"a folder in the link's place", S_OK, true, true, false, "(none)"},
    };
    const fs::path link = L"C:\\Desk\\Tarvosk.lnk";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        removeFolders();
        fs::create_directory(L"C:\\Desk");
        if (c.folderInTheWay) {
            fs::create_directory(link);
        } else {
            HANDLE h =
                CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written;
            WriteFile(h, "old", 3, &written, nullptr);
            CloseHandle(h);
        }
        shell = FakeShell();
        shell.saveResult = c.save;
        shell.saveWrites = c.writes;
        BoxWatcher watcher;
        EXPECT_EQ(msLink(api).createShortcut("C:\\GAMES", "tarvosk.com", "C:\\Desk", "Tarvosk"),
                  c.created);
        expectSaveOutcome(watcher.boxes(), c.created);
        EXPECT_EQ(filesIn(L"C:\\Desk"), std::vector<std::string>{"Tarvosk.lnk"});
        EXPECT_EQ(contents(link), c.after);
        expectAllReleased();
    }
}

} // namespace
