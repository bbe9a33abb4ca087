#pragma once
#include <windows.h>

// The platform calls through which the program runner acts. The runner's tests
// hand it substitutes; the program uses the system's.
struct ShellApi {
    HINSTANCE(WINAPI* shellExecute)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
    int(WINAPI* messageBox)(HWND, LPCSTR, LPCSTR, UINT);
    void(WINAPI* postQuitMessage)(int);
};

const ShellApi& systemShellApi();
