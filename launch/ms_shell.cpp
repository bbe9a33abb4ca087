#include "ms_shell.h"

#include "fitting_name.h"
#include "program_image.h"
#include "base/system_library.h"
#include "system_reason.h"

#include <shellapi.h>

const ShellApi& systemShellApi() {
    static const ShellApi api{
        systemExport<decltype(&ShellExecuteA)>("shell32.dll", "ShellExecuteA"), MessageBoxA,
        PostQuitMessage};
    return api;
}

void msShell::fileError(const std::string& text) {
    api.messageBox(nullptr, text.c_str(), "File Error", MB_OK | MB_ICONERROR);
}

void msShell::execute(std::string file, std::string parameters, bool quit) {
    // The player is told of the file by the name the launcher knows it by; the
    // shell is handed one it accepts.
    const std::string reachable = fittingName(file);
    auto result = reinterpret_cast<INT_PTR>(api.shellExecute(
        nullptr, "open", reachable.c_str(), parameters.c_str(), nullptr, SW_SHOWNORMAL));
    if (result == SE_ERR_FNF || result == SE_ERR_PNF) {
        fileError("Cannot find the file..." + file);
        return;
    }
    // Nothing was started: the player is told why, and the launcher stays.
    if (result <= 32) {
        fileError("Cannot open the file..." + file + "\n\n" +
                  systemReason(shellExecuteError(result)));
        return;
    }
    if (quit)
        api.postQuitMessage(0);
}

void msShell::executeGame(std::string file, std::string parameters, bool quit, std::string title) {
    // Reading the file, finding a DOSBox bundled beside it and starting DOSBox in
    // its folder all have the shell's limit on the length of a name.
    const std::string reachable = fittingName(file);
    ProgramImage image = inspectProgram(reachable);
    switch (image.kind) {
    case ProgramKind::Windows:
        execute(file, parameters, quit);
        return;
    case ProgramKind::Dos:
        startInDosBox(reachable, parameters, quit, title);
        return;
    case ProgramKind::NotFound:
        fileError("Cannot find the file..." + file);
        return;
    case ProgramKind::Windows16:
        fileError("Cannot start the file..." + file +
                  "\n\nIt is a program for 16-bit Windows, which this version of Windows "
                  "cannot run.");
        return;
    case ProgramKind::Empty:
        fileError("Cannot read the file..." + file + "\n\nThe file is empty.");
        return;
    case ProgramKind::Unreadable:
        fileError("Cannot read the file..." + file + "\n\n" + systemReason(image.error));
        return;
    }
}

void msShell::startInDosBox(const std::string& file, const std::string& parameters, bool quit,
                            const std::string& title) {
    size_t separator = file.rfind('\\');
    std::string folder = separator == std::string::npos ? "" : file.substr(0, separator + 1);
    std::string program = file.substr(folder.size());

    DosBox found;
    if (!findDosBox(folder, dosBox, found)) {
        std::string text = title + " is a DOS program, which " +
                           (dosBox.underWine() ? "Wine" : "this Windows") +
                           " cannot run by itself.\n\nTo play it, " +
                           (dosBox.underWine() ? "install your distribution's dosbox package"
                                               : "install DOSBox Staging or DOSBox-X") +
                           ", or put DOSBox in a folder named DOSBOX beside the launcher.";
        api.messageBox(nullptr, text.c_str(), "DOSBox Not Found", MB_OK | MB_ICONERROR);
        return;
    }
    // DOSBox mounts its working directory: the game's own folder.
    std::string arguments = dosBoxParameters(found, program, parameters);
    auto result = reinterpret_cast<INT_PTR>(
        api.shellExecute(nullptr, "open", found.program.c_str(), arguments.c_str(),
                         folder.empty() ? nullptr : folder.c_str(), SW_SHOWNORMAL));
    if (result <= 32) {
        fileError("Cannot open the file..." + found.program + "\n\n" +
                  systemReason(shellExecuteError(result)));
        return;
    }
    if (quit)
        api.postQuitMessage(0);
}
