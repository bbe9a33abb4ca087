#pragma once
#include <windows.h>

// An export of a system DLL, loaded from the system directory on first use. The
// shell and COM are needed only once the player clicks: loading them at start-up
// would cost the launcher a third more memory and time before its window shows.
// Throws Exception when the system lacks it.
FARPROC systemExport(const char* library, const char* name);

template <class Function> Function systemExport(const char* library, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(systemExport(library, name)));
}
