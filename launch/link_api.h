#pragma once
#include <windows.h>
#include <shlobj.h>

#include <string>

// The platform calls through which the shortcut maker acts. Its tests hand it
// substitutes for the few failures a real system cannot be made to produce; the
// program uses the system's.
struct LinkApi {
    HRESULT(WINAPI* coInitialize)(LPVOID);
    HRESULT(WINAPI* coCreateInstance)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*);
    HRESULT(WINAPI* getSpecialFolderLocation)(HWND, int, PIDLIST_ABSOLUTE*);
    BOOL(WINAPI* getPathFromIdList)(PCIDLIST_ABSOLUTE, LPSTR);
    int(WINAPI* messageBox)(HWND, LPCSTR, LPCSTR, UINT);
    // The application object's box, owned by the application's window.
    int (*applicationMessageBox)(const std::string&, const std::string&, UINT);
    void(WINAPI* coTaskMemFree)(LPVOID);
};

// The system's calls. Its application box is the one the program entry hands in
// with useApplicationMessageBox: the application object belongs to the user
// interface above this layer, which the launch services do not name. Until one
// is handed in, a box with no owner stands in.
const LinkApi& systemLinkApi();
void useApplicationMessageBox(int (*box)(const std::string&, const std::string&, UINT));
