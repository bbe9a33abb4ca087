#pragma once
#include <windows.h>

#include <string>

// DOSBox, which runs the title's DOS game program on systems that cannot.
struct DosBox {
    enum class Kind { Classic, Staging, X };
    std::string program; // its Windows file name
    Kind kind = Kind::Classic;
};

// The look-ups through which DOSBox is found. The finder's tests hand it
// substitutes, for installations a test machine cannot have; the program uses
// the system's.
struct DosBoxLookups {
    // An existing file, not a folder.
    bool (*isFile)(const std::string& path);
    // A text value of a registry key, or "".
    std::string (*registryText)(HKEY root, const char* key, const char* value);
    // An environment variable, or "".
    std::string (*environment)(const char* name);
    bool (*underWine)();
    // Wine's Windows name for a file of the host system, or "".
    std::string (*windowsName)(const char* hostPath);
};

const DosBoxLookups& systemDosBoxLookups();

// Looks for DOSBox where players have it, the first found winning: bundled with
// the title in the launch directory's DOSBOX folder, installed on Windows, or the
// host system's under Wine. `launchDirectory` ends in a separator or is empty.
bool findDosBox(const std::string& launchDirectory, const DosBoxLookups& lookups, DosBox& found);

// DOSBox's parameters to run `program` with `parameters` in its working
// directory and end when the program ends. The folder stays off the command line
// (DOSBox mounts "."), so no name of the player's can break the quoting.
std::string dosBoxParameters(const DosBox& dosBox, const std::string& program,
                             const std::string& parameters);
