#pragma once
#include <windows.h>

#include <string>

// What a program file is, told by its first bytes as Windows and DOS tell it,
// not by its name: a ".com" may hold a DOS image or a Windows program.
enum class ProgramKind {
    Dos,       // a DOS .com image, or an MZ program without a Windows header
    Windows,   // a PE program: the shell starts it
    Windows16, // an NE program, which no 64-bit Windows runs
    NotFound,  // no file by that name, or a folder
    Empty,
    Unreadable,
};

struct ProgramImage {
    ProgramKind kind;
    // The system's error code for NotFound and Unreadable, else 0.
    DWORD error = 0;
};

ProgramImage inspectProgram(const std::string& file);
