#include "main.h"

#include "about.h"
#include "components/application.h"
#include "launch/ms_link.h"
#include "launch/ms_shell.h"

#include <shlobj.h>

TfrmMain* frmMain;

const TForm::FormClass TfrmMain::formClass{
    "TfrmMain",
    {
        handler("FormCreate", &TfrmMain::FormCreate),
        handler("btnSinglePlayClick", &TfrmMain::btnSinglePlayClick),
        handler("btnMultiPlayClick", &TfrmMain::btnMultiPlayClick),
        handler("Image1DblClick", &TfrmMain::Image1DblClick),
        handler("btnReadmeClick", &TfrmMain::btnReadmeClick),
        handler("btnExitClick", &TfrmMain::btnExitClick),
        handler("btnDesktopIconClick", &TfrmMain::btnDesktopIconClick),
        handler("btnUninstallClick", &TfrmMain::btnUninstallClick),
        handler("mnuAboutClick", &TfrmMain::mnuAboutClick),
    }};

TfrmMain::TfrmMain(TComponent* Owner)
    : TForm(Owner, formClass), Image1(component<TImage>("Image1")),
      btnSinglePlay(component<TButton>("btnSinglePlay")),
      btnMultiPlay(component<TButton>("btnMultiPlay")),
      btnDesktopIcon(component<TButton>("btnDesktopIcon")),
      btnUninstall(component<TButton>("btnUninstall")), btnExit(component<TButton>("btnExit")),
      btnReadme(component<TButton>("btnReadme")), mainMenu(component<TMainMenu>("mainMenu")),
      mnuAbout(component<TMenuItem>("mnuAbout")) {
    properties.setDescription("Tarvosk by Edda Marrow - Kelvane");
    properties.setName("Tarvosk");
    properties.setExeName("tarvosk.com");
    properties.setReadmeName("tarvosk.txt");
}

void TfrmMain::FormCreate(TObject*) {
    setCaption(properties.getDescription());
}

void TfrmMain::btnSinglePlayClick(TObject*) {
    msShell shell;
    shell.executeGame(properties.getPath() + properties.getExeName(), "/x", true,
                      properties.getName());
}

void TfrmMain::btnMultiPlayClick(TObject*) {
    msShell shell;
    shell.executeGame(properties.getPath() + properties.getExeName(), "/c", true,
                      properties.getName());
}

void TfrmMain::Image1DblClick(TObject*) {
    msShell shell;
    shell.executeGame(properties.getPath() + properties.getExeName(), "/x", true,
                      properties.getName());
}

void TfrmMain::btnReadmeClick(TObject*) {
    msShell shell;
    shell.execute(properties.getPath() + properties.getReadmeName(), "", false);
}

void TfrmMain::btnExitClick(TObject*) {
    Application->Terminate();
}

namespace {

// The running launcher's own file, split so that the shortcut maker's join of a
// directory and a file name gives it back: relative to the launch directory when
// it lies there, as it does when started from the title's folder.
struct LauncherFile {
    std::string directory;
    std::string fileName;
};

// The whole name or "": with the UTF-8 code page a folder of fewer than MAX_PATH
// characters can take more bytes than that. A name that does not fit comes back
// cut (Wine even says 259 and no error), so the buffer grows until one character
// is spare.
std::string moduleFileName() {
    std::string buffer(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, &buffer[0], static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return "";
        if (length < buffer.size() - 1)
            return buffer.substr(0, length);
        if (buffer.size() >= 32768)
            return "";
        buffer.resize(buffer.size() * 2);
    }
}

bool launcherFile(const std::string& launchDirectory, LauncherFile& file) {
    std::string module = moduleFileName();
    if (module.empty())
        return false;
    if (!launchDirectory.empty() && module.size() > launchDirectory.size() &&
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, module.c_str(),
                       static_cast<int>(launchDirectory.size()), launchDirectory.c_str(),
                       static_cast<int>(launchDirectory.size())) == CSTR_EQUAL) {
        file = {launchDirectory, module.substr(launchDirectory.size())};
        return true;
    }
    size_t slash = module.rfind('\\');
    file = {module.substr(0, slash + 1), module.substr(slash + 1)};
    return true;
}

} // namespace

void TfrmMain::btnDesktopIconClick(TObject*) {
    msLink link;
    std::string desktop = link.getSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    LauncherFile launcher;
    if (launcherFile(properties.getPath(), launcher) &&
        link.createShortcut(launcher.directory, launcher.fileName, desktop, properties.getName()))
        Application->MessageBox("A shortcut to '" + properties.getName() + "' has been " +
                                    "created on your desktop",
                                "Success", MB_OK | MB_ICONINFORMATION);
    else
        Application->MessageBox("Could not create a shortcut to '" + properties.getName() +
                                    "' on your desktop",
                                "Failure", MB_OK | MB_ICONERROR);
}

void TfrmMain::btnUninstallClick(TObject*) {
    msShell shell;
    msLink link;
    std::string question =
        "This is not a wise move...\n\nAre you definately sure you want to wipe '" +
        properties.getName() + "' from your system?";
    if (Application->MessageBox(question, "Confirm", MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES)
        return;
    std::string desktop = link.getSpecialFolder(CSIDL_DESKTOPDIRECTORY);
    // Without the desktop's path the name would point at the root of the current
    // drive: nothing is deleted then, and the hand-over still goes ahead.
    if (!desktop.empty())
        DeleteFileA(msLink::shortcutFile(desktop, properties.getName()).c_str());
    shell.executeGame(properties.getPath() + properties.getExeName(), "/u", true,
                      properties.getName());
}

void TfrmMain::mnuAboutClick(TObject*) {
    frmAbout->ShowModal();
}
