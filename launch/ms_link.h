#pragma once
#include "link_api.h"

#include <string>

// Finds the shell's special folders and saves shortcuts to the title's files in
// them. Failures are reported in a box before false or "" is returned, except an
// empty folder: that is a failed lookup, whose box has already been shown.
class msLink {
  public:
    msLink() : msLink(systemLinkApi()) {}
    explicit msLink(const LinkApi& api) : api(api) {}
    virtual ~msLink() = default;

    // The file-system path of a CSIDL_* folder, or "" when it has none.
    std::string getSpecialFolder(int csidl);
    // The link file for a shortcut called `name` in `folder`: what createShortcut
    // writes, and what an uninstaller removes.
    static std::string shortcutFile(const std::string& folder, const std::string& name);
    // Saves folder\name.lnk, starting directory\fileName in `directory` and
    // described by `name`. True only when the file was written.
    bool createShortcut(std::string directory, std::string fileName, std::string folder,
                        std::string name);

  private:
    const LinkApi& api;
};
