#pragma once
#include <windows.h>

#include <string>

// The system's own words for an error code, on one line and without a trailing
// line break; "Error N." where the system has none.
std::string systemReason(DWORD error);

// The system error behind a failure result (32 or less) of ShellExecute, whose
// results are the old 16-bit codes rather than error codes.
DWORD shellExecuteError(INT_PTR result);
