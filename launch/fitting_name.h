#pragma once
#include <windows.h>

#include <string>

// A name under which the shell and the file calls reach `file`, a full name. A
// launch directory may fit a path while the names of its files do not; the shell
// then answers "not found" for a file that is there. Such a file is named by its
// directory's short (8.3) form, or, on a volume without short names, by its bare
// name when its directory is the current one. Anything else comes back as given.
using ShortPathQuery = DWORD(WINAPI*)(LPCSTR, LPSTR, DWORD);
std::string fittingName(const std::string& file, ShortPathQuery shortPath = GetShortPathNameA);

// Whether a name fits MAX_PATH with its terminator, counted in the UTF-16
// characters the system keeps: with the UTF-8 code page a few characters can take
// many bytes.
bool fitsAPath(const std::string& name);
