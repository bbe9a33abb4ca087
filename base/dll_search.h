#pragma once

// Keeps DLLs that lie beside the launcher (or in the current directory) from being
// loaded in place of system ones: a game's folder is often an unpacked archive
// that nobody checked file by file. Call it before anything else can load a DLL.
// Returns whether the search is limited to the system directory; without the
// loader update of Windows 7 only the current directory is taken out.
bool restrictDllSearchToSystem();
