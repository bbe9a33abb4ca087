#include "launch/dosbox.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>

namespace {

// A system of the test's making: which files exist, what the registry and the
// environment hold, and whether it is Wine. Plain function pointers cannot
// capture, so the substitutes read it here.
struct System {
    std::set<std::string> files;
    std::map<std::pair<HKEY, std::string>, std::string> registry;
    std::map<std::string, std::string> environment;
    bool wine = false;
};
System sys;

std::string lower(std::string s) {
    CharLowerBuffA(&s[0], static_cast<DWORD>(s.size()));
    return s;
}

// Names compared as Windows compares them, without case.
bool fakeIsFile(const std::string& path) {
    for (const std::string& f : sys.files)
        if (lower(f) == lower(path))
            return true;
    return false;
}
std::string fakeRegistryText(HKEY root, const char* key, const char* value) {
    auto found = sys.registry.find({root, std::string(key) + "|" + value});
    return found == sys.registry.end() ? "" : found->second;
}
std::string fakeEnvironment(const char* name) {
    auto found = sys.environment.find(name);
    return found == sys.environment.end() ? "" : found->second;
}
bool fakeUnderWine() {
    return sys.wine;
}
std::string fakeWindowsName(const char* hostPath) {
    std::string name = std::string("Z:") + hostPath;
    for (char& c : name)
        if (c == '/')
            c = '\\';
    return name;
}

const DosBoxLookups fakes{fakeIsFile, fakeRegistryText, fakeEnvironment, fakeUnderWine,
                          fakeWindowsName};

const char* kindName(DosBox::Kind kind) {
    switch (kind) {
    case DosBox::Kind::Classic:
        return "classic";
    case DosBox::Kind::Staging:
        return "Staging";
    case DosBox::Kind::X:
        return "X";
    }
    return "?";
}

const std::string game = "C:\\Games\\Tarvosk\\";

TEST(DosBoxFinder, TakesTheFirstInstallationInOrder) {
    const std::string stagingFolder = "C:\\Program Files\\DOSBox Staging";
    const std::string xFolder = "D:\\Emu\\DOSBox-X\\";
    struct Case {
        const char* what;
        System system;
        const char* program; // "" for none found
        DosBox::Kind kind;
    };
    System everything;
    everything.files = {game + "DOSBOX\\DOSBox.exe", stagingFolder + "\\dosbox.exe",
                        "Z:\\usr\\bin\\dosbox"};
    everything.registry = {{{HKEY_CURRENT_USER, "Software\\dosbox-staging|Path"}, stagingFolder}};
    everything.wine = true;

    System installedAndHost = everything;
    installedAndHost.files.erase(game + "DOSBOX\\DOSBox.exe");

    System machineX;
    machineX.files = {xFolder + "dosbox-x.exe", stagingFolder + "\\dosbox.exe"};
    machineX.registry = {{{HKEY_LOCAL_MACHINE, "Software\\DOSBox-X|Path"}, xFolder},
                         {{HKEY_LOCAL_MACHINE, "Software\\dosbox-staging|Path"}, "C:\\Gone"}};

    System defaults;
    defaults.files = {"C:\\Program Files (x86)\\DOSBox-0.74-3\\DOSBox.exe",
                      "C:\\Users\\P\\AppData\\Local\\Programs\\DOSBox Staging\\dosbox.exe"};
    defaults.environment = {{"ProgramFiles(x86)", "C:\\Program Files (x86)"},
                            {"LOCALAPPDATA", "C:\\Users\\P\\AppData\\Local"}};
    System userStaging = defaults;
    userStaging.files.erase("C:\\Program Files (x86)\\DOSBox-0.74-3\\DOSBox.exe");
    System driveX;
    driveX.files = {"C:\\DOSBox-X\\dosbox-x.exe"};
    driveX.environment = {{"SystemDrive", "C:"}};

    System onPath;
    onPath.files = {"dosbox.exe", "C:\\Tools\\dosbox-x.exe", "C:\\Shims\\dosbox.exe"};
    onPath.environment = {{"PATH", ".;relative;;\"C:\\Tools\";C:\\Shims"}};

    System bundledX;
    bundledX.files = {game + "dosbox\\DOSBOX-X.EXE"};
    System bundledFolderOnly;
    bundledFolderOnly.files = {game + "DOSBOX\\readme.txt"};

    System hostOnly;
    hostOnly.wine = true;
    hostOnly.files = {"Z:\\usr\\games\\dosbox", "Z:\\usr\\bin\\dosbox-x"};
    System hostWithoutWine = hostOnly;
    hostWithoutWine.wine = false;
    System flatpak;
    flatpak.wine = true;
    flatpak.files = {"Z:\\var\\lib\\flatpak\\exports\\bin\\io.github.dosbox-staging"};

    const Case cases[] = {
        {"bundled wins over installed and host", everything,
         "C:\\Games\\Tarvosk\\DOSBOX\\DOSBox.exe", DosBox::Kind::Classic},
        {"bundled DOSBox-X, any case", bundledX, "C:\\Games\\Tarvosk\\DOSBOX\\dosbox-x.exe",
         DosBox::Kind::X},
        {"installed wins over host", installedAndHost,
         "C:\\Program Files\\DOSBox Staging\\dosbox.exe", DosBox::Kind::Staging},
        {"a registered folder without DOSBox in it is passed over", machineX,
         "D:\\Emu\\DOSBox-X\\dosbox-x.exe", DosBox::Kind::X},
        {"0.74-3 in its default folder", defaults,
         "C:\\Program Files (x86)\\DOSBox-0.74-3\\DOSBox.exe", DosBox::Kind::Classic},
        {"Staging installed for the user", userStaging,
         "C:\\Users\\P\\AppData\\Local\\Programs\\DOSBox Staging\\dosbox.exe",
         DosBox::Kind::Staging},
        {"DOSBox-X at the system drive", driveX, "C:\\DOSBox-X\\dosbox-x.exe", DosBox::Kind::X},
        {"the PATH's full folders only, quotes taken off", onPath, "C:\\Tools\\dosbox-x.exe",
         DosBox::Kind::X},
        {"the host's under Wine", hostOnly, "Z:\\usr\\games\\dosbox", DosBox::Kind::Classic},
        {"the host's Flatpak", flatpak,
         "Z:\\var\\lib\\flatpak\\exports\\bin\\io.github.dosbox-staging", DosBox::Kind::Staging},
        {"no host outside Wine", hostWithoutWine, "", DosBox::Kind::Classic},
        {"a DOSBOX folder without DOSBox", bundledFolderOnly, "", DosBox::Kind::Classic},
        {"nothing anywhere", System{}, "", DosBox::Kind::Classic},
    };
    for (const Case& c : cases) {
        sys = c.system;
        DosBox found;
        bool any = findDosBox(game, fakes, found);
        EXPECT_EQ(any, *c.program != '\0') << c.what;
        if (any) {
            EXPECT_EQ(lower(found.program), lower(c.program)) << c.what;
            EXPECT_STREQ(kindName(found.kind), kindName(c.kind)) << c.what;
        }
    }
}

TEST(DosBoxFinder, OnTheSystemFindsTheHostsDosBoxUnderWine) {
    // The test machine's own: Debian's dosbox, under the Wine the tests run in.
    DosBox found;
    ASSERT_TRUE(systemDosBoxLookups().underWine());
    ASSERT_TRUE(findDosBox("C:\\nowhere\\", systemDosBoxLookups(), found));
    EXPECT_EQ(lower(found.program), "z:\\usr\\bin\\dosbox");
}

TEST(DosBoxParameters, RunTheProgramWithItsSwitchAndEnd) {
    struct Case {
        DosBox::Kind kind;
        const char* parameters;
        const char* expected;
    };
    const Case cases[] = {
        {DosBox::Kind::Classic, "/x",
         "-noautoexec -c \"mount c .\" -c \"c:\" -c \"tarvosk.com /x\" -c exit"},
        {DosBox::Kind::Staging, "/c",
         "-noautoexec -c \"mount c .\" -c \"c:\" -c \"tarvosk.com /c\" -c exit"},
        {DosBox::Kind::X, "/u",
         "-nopromptfolder -noautoexec -c \"mount c .\" -c \"c:\" -c \"tarvosk.com /u\" -c exit"},
        {DosBox::Kind::Classic, "",
         "-noautoexec -c \"mount c .\" -c \"c:\" -c \"tarvosk.com\" -c exit"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(dosBoxParameters({"dosbox.exe", c.kind}, "tarvosk.com", c.parameters),
                  c.expected);
}

} // namespace
