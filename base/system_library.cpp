#include "system_library.h"

#include "exception.h"

#include <string>

FARPROC systemExport(const char* library, const char* name) {
    HMODULE module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Windows 7 without KB2533623 does not know the flag; the DLL search has no
    // current directory in it by then, and these DLLs are known to the loader.
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER)
        module = LoadLibraryA(library);
    FARPROC function = module ? GetProcAddress(module, name) : nullptr;
    if (!function)
        throw Exception(std::string("Cannot find ") + name + " in " + library);
    return function;
}
