#pragma once
// What the unit and the end-to-end tests share: files, waiting, and launch
// directories laid out as a title's, with the launcher and the stand-ins in them.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace support {

// Polls `done` every 20 ms until it holds or `ms` pass; returns whether it held.
bool waitUntil(const std::function<bool()>& done, int ms = 10000);

std::string readFile(const std::string& path);
std::string readFile(const std::wstring& path);
bool fileExists(const std::string& path);

// Whether the tests run under Wine, on a host whose own programs (DOSBox, /proc)
// they can reach.
bool underWine();

// The directory holding the test programs, standin.exe, and one above it launcher.exe.
std::string testProgramDirectory();

// A fresh launch directory: the launcher and, optionally, the stand-in game program
// (tarvosk.com) and a readme. Removed with everything in it when the object goes.
class LaunchDirectory {
  public:
    struct Options {
        bool game = true;
        bool readme = true;
        // The program copied in as launcher.exe; empty for the launcher itself.
        std::string launcher = "";
        // The launch directory's own name, made inside a fresh folder of its own;
        // empty for a generated one.
        std::string folder = "";
        // The test program copied in as tarvosk.com: the Windows stand-in, or
        // "dosgame.com", a real DOS program.
        std::string gameProgram = "standin.exe";
    };
    LaunchDirectory();
    explicit LaunchDirectory(Options options, std::string directory = "");
    ~LaunchDirectory();
    LaunchDirectory(const LaunchDirectory&) = delete;
    LaunchDirectory& operator=(const LaunchDirectory&) = delete;

    // As the launcher sees it, without a trailing separator (except at a drive root).
    const std::string& path() const { return path_; }
    // With exactly one separator before `name`.
    std::string file(const std::string& name) const;
    // What the stand-in recorded, one "command line|working directory" per start.
    std::vector<std::string> starts() const;
    std::string logPath() const { return file("standin.log"); }
    // What the DOS game program recorded, its command tail for each run.
    std::vector<std::string> dosRuns() const;

  private:
    std::string path_;
    // What goes when the object goes: the launch directory or the folder made for it.
    std::string root_;
    bool own_ = true;
};

} // namespace support
