#pragma once
#include "shell_api.h"

#include <string>

// Starts a program, or opens a document or web address, through the shell's
// "open" verb. A file the shell cannot find is reported in the not-found box;
// otherwise, on request, the program's quit request is posted.
class msShell {
  public:
    msShell() : msShell(systemShellApi()) {}
    explicit msShell(const ShellApi& api) : api(api) {}
    virtual ~msShell() = default;

    void execute(std::string file, std::string parameters, bool quit);

  private:
    const ShellApi& api;
};
