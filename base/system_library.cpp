#include "system_library.h"

#include "exception.h"

#include <string>

namespace {

std::string systemDirectory() {
    char buffer[MAX_PATH];
    UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : "";
}

std::string moduleFile(HMODULE module) {
    char buffer[MAX_PATH];
    DWORD length = GetModuleFileNameA(module, buffer, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::string(buffer, length) : "";
}

bool sameFile(const std::string& a, const std::string& b) {
    return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) ==
           CSTR_EQUAL;
}

// Throws when a module of this name is loaded from anywhere but the system
// directory: a DLL of a system name beside the launcher can be loaded by the
// system itself before the launcher asks, and the loader then hands that one back
// for the name.
void requireFromSystem(const std::string& directory, const char* library) {
    HMODULE loaded = GetModuleHandleA(library);
    if (!loaded)
        return;
    std::string file = moduleFile(loaded);
    if (!sameFile(file, directory + "\\" + library))
        throw Exception(std::string(library) + " is loaded from " +
                        (file.empty() ? "an unknown place" : file) +
                        ", not from the system directory");
}

} // namespace

FARPROC systemExport(const char* library, const char* name) {
    const std::string directory = systemDirectory();
    if (directory.empty())
        throw Exception(std::string("Cannot find the system directory for ") + library);
    const std::string path = directory + "\\" + library;
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows 7 without KB2533623 does not know the flag; the full name still
    // decides where the DLL comes from.
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER)
        module = LoadLibraryA(path.c_str());
    if (!module)
        throw Exception(std::string("Cannot find ") + name + " in " + library);
    // The library asked for, and COM's own, which the shell and the link object
    // call into: a stranger under one of these names would run in their place.
    for (const char* checked : {library, "ole32.dll", "combase.dll", "rpcrt4.dll"})
        requireFromSystem(directory, checked);
    FARPROC function = GetProcAddress(module, name);
    if (!function)
        throw Exception(std::string("Cannot find ") + name + " in " + library);
    return function;
}
