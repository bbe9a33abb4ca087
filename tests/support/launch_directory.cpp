#include "launch_directory.h"

namespace support {

bool waitUntil(const std::function<bool()>& done, int ms) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done())
            return true;
        if (GetTickCount() - start > static_cast<DWORD>(ms))
            return false;
        Sleep(20);
    }
}

std::string readFile(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "";
    std::string text;
    char buffer[4096];
    DWORD read;
    while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
        text.append(buffer, read);
    CloseHandle(file);
    return text;
}

std::string readFile(const std::string& path) {
    std::wstring wide(path.size() + 1, L'\0');
    int n =
        MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
    wide.resize(n > 0 ? n - 1 : 0);
    return readFile(wide);
}

bool fileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

namespace {

bool copyFile(const std::string& from, const std::string& to) {
    return CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
}

void removeTree(const std::string& directory, bool removeItself) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((directory + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = directory + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                removeTree(full, true);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    if (removeItself)
        RemoveDirectoryA(directory.c_str());
}

std::string withoutTrailingSeparator(std::string path) {
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return path;
}

} // namespace

bool underWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::string testProgramDirectory() {
    char buffer[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    std::string path(buffer, n);
    return path.substr(0, path.rfind('\\'));
}

LaunchDirectory::LaunchDirectory() : LaunchDirectory(Options{}) {}

LaunchDirectory::LaunchDirectory(Options options, std::string directory) {
    if (directory.empty()) {
        static int counter = 0;
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        root_ = std::string(temp) + "launcher-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
        CreateDirectoryA(root_.c_str(), nullptr);
        path_ = options.folder.empty() ? root_ : root_ + "\\" + options.folder;
        CreateDirectoryA(path_.c_str(), nullptr);
    } else {
        // An existing directory, such as a drive root: only what we put in goes again.
        path_ = withoutTrailingSeparator(directory);
        own_ = false;
    }
    std::string programs = testProgramDirectory();
    char launcher[MAX_PATH];
    std::string source = options.launcher.empty() ? programs + "\\..\\launcher.exe"
                                                  : programs + "\\" + options.launcher;
    GetFullPathNameA(source.c_str(), MAX_PATH, launcher, nullptr);
    copyFile(launcher, file("launcher.exe"));
    if (options.game)
        copyFile(programs + "\\" + options.gameProgram, file("tarvosk.com"));
    if (options.readme) {
        HANDLE readme = CreateFileA(file("tarvosk.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, 0, nullptr);
        DWORD written;
        WriteFile(readme, "Tarvosk\r\n", 9, &written, nullptr);
        CloseHandle(readme);
    }
}

LaunchDirectory::~LaunchDirectory() {
    if (own_) {
        removeTree(root_, true);
    } else {
        for (const char* name :
             {"launcher.exe", "tarvosk.com", "tarvosk.txt", "standin.log", "TARVOSK.LOG"}) {
            SetFileAttributesA(file(name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(file(name).c_str());
        }
    }
}

std::string LaunchDirectory::file(const std::string& name) const {
    return path_.back() == '\\' ? path_ + name : path_ + "\\" + name;
}

std::vector<std::string> LaunchDirectory::starts() const {
    std::vector<std::string> lines;
    std::string text = readFile(logPath());
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::vector<std::string> LaunchDirectory::dosRuns() const {
    std::vector<std::string> runs;
    std::string text = readFile(file("TARVOSK.LOG"));
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        runs.push_back(text.substr(start, end - start));
    return runs;
}

} // namespace support
