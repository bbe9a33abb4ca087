#include "system_reason.h"

#include "base/handles.h"

#include <shellapi.h>

std::string systemReason(DWORD error) {
    char* text = nullptr;
    DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
    std::string reason = text ? std::string(text, length) : "";
    LocalFree(text);
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                               reason.back() == ' ' || reason.back() == '\t'))
        reason.pop_back();
    if (reason.empty())
        return "Error " + std::to_string(error) + ".";
    return reason;
}

DWORD shellExecuteError(INT_PTR result) {
    switch (result) {
    case 0:
    case SE_ERR_OOM:
        return ERROR_NOT_ENOUGH_MEMORY;
    case SE_ERR_SHARE:
        return ERROR_SHARING_VIOLATION;
    case SE_ERR_ASSOCINCOMPLETE:
    case SE_ERR_NOASSOC:
        return ERROR_NO_ASSOCIATION;
    case SE_ERR_DDETIMEOUT:
    case SE_ERR_DDEFAIL:
    case SE_ERR_DDEBUSY:
        return ERROR_DDE_FAIL;
    case SE_ERR_DLLNOTFOUND:
        return ERROR_DLL_NOT_FOUND;
    default:
        // The rest share their numbers with the error codes: 2, 3, 5 and 11.
        return static_cast<DWORD>(result);
    }
}
