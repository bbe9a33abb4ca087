#pragma once
// The test prefix's desktop and the shortcuts the launcher leaves on it.
#include <windows.h>

#include <string>

namespace e2e {

// As the shell resolves it for any program; "" when it does not resolve.
std::string desktopFolder();

// A path kept clear of files for one test: emptied before it and again after it,
// so that no test sees what another left.
class ClearedPath {
  public:
    explicit ClearedPath(std::string path);
    ~ClearedPath();
    ClearedPath(const ClearedPath&) = delete;
    ClearedPath& operator=(const ClearedPath&) = delete;

    const std::string& path() const { return path_; }
    bool exists() const;
    // Bytes that are not a shell link: whatever is there afterwards was written anew.
    void place() const;

  private:
    std::string path_;
};

// Tarvosk.lnk on the desktop.
struct DesktopShortcut : ClearedPath {
    DesktopShortcut();
};

struct ShortcutView {
    HRESULT loaded = E_FAIL;
    std::string target;
    std::string workingDirectory;
    std::string description;
};

// Reads a link file back through the shell's own link object, in full whatever
// the code page (the wide interface, converted to the program's code page).
ShortcutView readShortcut(const std::string& path);

} // namespace e2e
