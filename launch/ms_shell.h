#pragma once
#include "dosbox.h"
#include "shell_api.h"

#include <string>

// Starts a program, or opens a document or web address, through the shell's
// "open" verb. A file the shell cannot find is reported in the not-found box,
// any other failure in a box with the system's reason; after a start, on
// request, the program's quit request is posted.
class msShell {
  public:
    msShell() : msShell(systemShellApi(), systemDosBoxLookups()) {}
    msShell(const ShellApi& api, const DosBoxLookups& dosBox) : api(api), dosBox(dosBox) {}
    virtual ~msShell() = default;

    void execute(std::string file, std::string parameters, bool quit);

    // Starts the game program `file`, a full path, as execute does when it is a
    // Windows program. A DOS program, which no 64-bit Windows runs, is started in
    // DOSBox in the program's folder. `title` names the game in the box that asks
    // for DOSBox when there is none.
    void executeGame(std::string file, std::string parameters, bool quit, std::string title);

  private:
    void startInDosBox(const std::string& file, const std::string& parameters, bool quit,
                       const std::string& title);
    void fileError(const std::string& text);

    const ShellApi& api;
    const DosBoxLookups& dosBox;
};
