#include "fitting_name.h"

namespace {

bool sameFolder(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_EQUAL;
}

std::string currentDirectory() {
    char buffer[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : "";
}

} // namespace

bool fitsAPath(const std::string& name) {
    int needed = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, name.c_str(), -1, nullptr, 0);
    return needed > 0 && needed <= MAX_PATH;
}

std::string fittingName(const std::string& file, ShortPathQuery shortPath) {
    size_t separator = file.rfind('\\');
    if (fitsAPath(file) || separator == std::string::npos)
        return file;
    const std::string folder = file.substr(0, separator);
    const std::string name = file.substr(separator + 1);

    char buffer[MAX_PATH];
    DWORD length = shortPath(folder.c_str(), buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        std::string shortFolder(buffer, length);
        bool separated = !shortFolder.empty() && shortFolder.back() == '\\';
        std::string shortName = shortFolder + (separated ? "" : "\\") + name;
        if (fitsAPath(shortName))
            return shortName;
    }
    // The bare name resolves against the current directory: only there is it the
    // same file, and never a namesake somewhere else.
    std::string current = currentDirectory();
    if (!current.empty() && sameFolder(current, folder))
        return name;
    return file;
}
