#pragma once
#include <windows.h>

#include <string>

// The launch settings: the launch directory, read once from the working directory,
// and the title's constant names and texts, set once by the main window.
class appProperties {
  public:
    appProperties() : appProperties(GetCurrentDirectoryA) {}
    // Reads the launch directory through `currentDirectory`; the tests hand it
    // answers that no real working directory gives.
    using CurrentDirectoryQuery = DWORD(WINAPI*)(DWORD, LPSTR);
    explicit appProperties(CurrentDirectoryQuery currentDirectory);
    virtual ~appProperties() = default;

    std::string getPath() const { return path; }
    std::string getDescription() const { return description; }
    std::string getName() const { return name; }
    std::string getExeName() const { return exeName; }
    std::string getReadmeName() const { return readmeName; }

    void setDescription(std::string value) { description = std::move(value); }
    void setName(std::string value) { name = std::move(value); }
    void setExeName(std::string value) { exeName = std::move(value); }
    void setReadmeName(std::string value) { readmeName = std::move(value); }

  private:
    std::string path;
    std::string description;
    std::string name;
    std::string exeName;
    std::string readmeName;
};
