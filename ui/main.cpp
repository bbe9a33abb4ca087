#include "main.h"

#include "components/application.h"
#include "launch/ms_shell.h"

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

void TfrmMain::FormCreate(TObject*) { setCaption(properties.getDescription()); }

void TfrmMain::btnSinglePlayClick(TObject*) {
    msShell shell;
    shell.execute(properties.getPath() + properties.getExeName(), "/x", true);
}

void TfrmMain::btnMultiPlayClick(TObject*) {
    msShell shell;
    shell.execute(properties.getPath() + properties.getExeName(), "/c", true);
}

void TfrmMain::Image1DblClick(TObject*) {
    msShell shell;
    shell.execute(properties.getPath() + properties.getExeName(), "/x", true);
}

void TfrmMain::btnReadmeClick(TObject*) {
    msShell shell;
    shell.execute(properties.getPath() + properties.getReadmeName(), "", false);
}

void TfrmMain::btnExitClick(TObject*) { Application->Terminate(); }

void TfrmMain::btnDesktopIconClick(TObject*) {}

void TfrmMain::btnUninstallClick(TObject*) {}

void TfrmMain::mnuAboutClick(TObject*) {}
