#include "ms_shell.h"

#include "system_library.h"

#include <shellapi.h>

const ShellApi& systemShellApi() {
    static const ShellApi api{
        systemExport<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA"), MessageBoxA,
        PostQuitMessage};
    return api;
}

void msShell::execute(std::string file, std::string parameters, bool quit) {
    std::string message;
    auto result = reinterpret_cast<INT_PTR>(api.shellExecute(
        nullptr, "open", file.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL));
    if (result == SE_ERR_FNF || result == SE_ERR_PNF) {
        message = "Cannot find the file..." + file;
        api.messageBox(nullptr, message.c_str(), "File Error", MB_OK | MB_ICONERROR);
        return;
    }
    // Every other result counts as a start, failures included: only "not found"
    // is worth telling the player about.
    if (quit)
        api.postQuitMessage(0);
}
