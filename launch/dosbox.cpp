#include "dosbox.h"

#include "base/system_library.h"

namespace {

using Kind = DosBox::Kind;

std::string joined(const std::string& folder, const char* name) {
    if (folder.empty())
        return "";
    return folder + (folder.back() == '\\' ? "" : "\\") + name;
}

struct Candidate {
    const char* name;
    Kind kind;
};

bool firstFile(const DosBoxLookups& lookups, const std::string& folder,
               std::initializer_list<Candidate> candidates, DosBox& found) {
    for (const Candidate& c : candidates) {
        std::string program = joined(folder, c.name);
        if (!program.empty() && lookups.isFile(program)) {
            found = {program, c.kind};
            return true;
        }
    }
    return false;
}

bool bundled(const std::string& launchDirectory, const DosBoxLookups& lookups, DosBox& found) {
    // Game stores ship DOSBox in a DOSBOX folder beside the game.
    return firstFile(lookups, launchDirectory + "DOSBOX",
                     {{"DOSBox.exe", Kind::Classic}, {"dosbox-x.exe", Kind::X}}, found);
}

bool installed(const DosBoxLookups& lookups, DosBox& found) {
    // DOSBox Staging and DOSBox-X record their folder; the user's install first.
    struct Registered {
        const char* key;
        Candidate program;
    };
    const Registered registered[] = {
        {"Software\\dosbox-staging", {"dosbox.exe", Kind::Staging}},
        {"Software\\DOSBox-X", {"dosbox-x.exe", Kind::X}},
    };
    for (const Registered& r : registered)
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
            if (firstFile(lookups, lookups.registryText(root, r.key, "Path"), {r.program}, found))
                return true;

    // Installed in the installers' default folders, which DOSBox 0.74-3 records
    // nowhere else.
    struct Default {
        const char* variable;
        const char* folder;
        Candidate program;
    };
    const Default defaults[] = {
        {"ProgramFiles(x86)", "DOSBox-0.74-3", {"DOSBox.exe", Kind::Classic}},
        {"LOCALAPPDATA", "Programs\\DOSBox Staging", {"dosbox.exe", Kind::Staging}},
        {"ProgramFiles", "DOSBox Staging", {"dosbox.exe", Kind::Staging}},
        {"SystemDrive", "DOSBox-X", {"dosbox-x.exe", Kind::X}},
    };
    for (const Default& d : defaults) {
        std::string base = lookups.environment(d.variable);
        if (!base.empty() && firstFile(lookups, joined(base, d.folder), {d.program}, found))
            return true;
    }

    // Package managers' shims on the PATH. Only full folders count: a relative
    // entry would name a folder of wherever the launcher happens to be.
    std::string path = lookups.environment("PATH");
    for (size_t start = 0; start <= path.size();) {
        size_t end = path.find(';', start);
        if (end == std::string::npos)
            end = path.size();
        std::string folder = path.substr(start, end - start);
        if (folder.size() >= 2 && folder.front() == '"' && folder.back() == '"')
            folder = folder.substr(1, folder.size() - 2);
        bool full = folder.size() >= 3 && ((folder[1] == ':' && folder[2] == '\\') ||
                                           (folder[0] == '\\' && folder[1] == '\\'));
        if (full && firstFile(lookups, folder,
                              {{"dosbox.exe", Kind::Classic}, {"dosbox-x.exe", Kind::X}}, found))
            return true;
        start = end + 1;
    }
    return false;
}

bool host(const DosBoxLookups& lookups, DosBox& found) {
    if (!lookups.underWine())
        return false;
    struct Host {
        const char* path;
        Kind kind;
    };
    const Host programs[] = {
        {"/usr/bin/dosbox", Kind::Classic},
        {"/usr/local/bin/dosbox", Kind::Classic},
        {"/usr/games/dosbox", Kind::Classic},
        {"/usr/bin/dosbox-x", Kind::X},
        {"/var/lib/flatpak/exports/bin/io.github.dosbox-staging", Kind::Staging},
        {"/var/lib/flatpak/exports/bin/com.dosbox_x.DOSBox-X", Kind::X},
    };
    for (const Host& h : programs) {
        std::string program = lookups.windowsName(h.path);
        if (!program.empty() && lookups.isFile(program)) {
            found = {program, h.kind};
            return true;
        }
    }
    return false;
}

bool isFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string registryText(HKEY root, const char* key, const char* value) {
    using GetValue = LSTATUS(WINAPI*)(HKEY, LPCSTR, LPCSTR, DWORD, LPDWORD, PVOID, LPDWORD);
    auto getValue = systemExport<GetValue>("advapi32.dll", "RegGetValueA");
    // REG_EXPAND_SZ comes back expanded, as REG_SZ.
    std::string text(MAX_PATH, '\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(text.size());
        LSTATUS status = getValue(root, key, value, RRF_RT_REG_SZ, nullptr, &text[0], &size);
        if (status == ERROR_MORE_DATA && size > text.size() && size < 65536) {
            text.resize(size);
            continue;
        }
        return status == ERROR_SUCCESS ? std::string(text.c_str()) : "";
    }
}

std::string environment(const char* name) {
    DWORD size = GetEnvironmentVariableA(name, nullptr, 0);
    if (size == 0)
        return "";
    std::string value(size, '\0');
    DWORD length = GetEnvironmentVariableA(name, &value[0], size);
    value.resize(length < size ? length : 0);
    return value;
}

bool underWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::string windowsName(const char* hostPath) {
    using DosFileName = WCHAR*(CDECL*)(const char*);
    auto dosFileName = reinterpret_cast<DosFileName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_dos_file_name")));
    WCHAR* wide = dosFileName ? dosFileName(hostPath) : nullptr;
    if (!wide)
        return "";
    std::string name;
    int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size > 1) {
        name.resize(size);
        WideCharToMultiByte(CP_ACP, 0, wide, -1, &name[0], size, nullptr, nullptr);
        name.pop_back();
    }
    HeapFree(GetProcessHeap(), 0, wide);
    return name;
}

} // namespace

const DosBoxLookups& systemDosBoxLookups() {
    static const DosBoxLookups lookups{isFile, registryText, environment, underWine, windowsName};
    return lookups;
}

bool findDosBox(const std::string& launchDirectory, const DosBoxLookups& lookups, DosBox& found) {
    return bundled(launchDirectory, lookups, found) || installed(lookups, found) ||
           host(lookups, found);
}

std::string dosBoxParameters(const DosBox& dosBox, const std::string& program,
                             const std::string& parameters) {
    std::string command = parameters.empty() ? program : program + " " + parameters;
    // DOSBox-X otherwise asks for a folder to mount first. "-c exit" rather than
    // "-exit", which means something else in each DOSBox; "-noautoexec" keeps a
    // player's own configuration from mounting C: elsewhere.
    std::string options = dosBox.kind == DosBox::Kind::X ? "-nopromptfolder " : "";
    return options + "-noautoexec -c \"mount c .\" -c \"c:\" -c \"" + command + "\" -c exit";
}
