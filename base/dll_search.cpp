#include "dll_search.h"

#include <windows.h>

bool restrictDllSearchToSystem() {
    // "" takes the current directory out of the search, on every Windows.
    SetDllDirectoryA("");
    // Looked up rather than imported: Windows 7 without KB2533623 lacks it, and an
    // import would stop the launcher from starting there at all.
    using SetDefault = BOOL(WINAPI*)(DWORD);
    auto setDefault = reinterpret_cast<SetDefault>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    return setDefault && setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
