#pragma once
#include "components/bitbtn.h"
#include "components/form.h"
#include "components/image.h"
#include "components/menu.h"
#include "launch/app_properties.h"

// The launcher's one main window: the artwork beside six buttons, and About.
class TfrmMain : public TForm {
  public:
    TImage* Image1;
    TButton* btnSinglePlay;
    TButton* btnMultiPlay;
    TButton* btnDesktopIcon;
    TButton* btnUninstall;
    TButton* btnExit;
    TButton* btnReadme;
    TMainMenu* mainMenu;
    TMenuItem* mnuAbout;

    explicit TfrmMain(TComponent* Owner);

    void FormCreate(TObject* Sender);
    void btnSinglePlayClick(TObject* Sender);
    void btnMultiPlayClick(TObject* Sender);
    void Image1DblClick(TObject* Sender);
    void btnReadmeClick(TObject* Sender);
    void btnExitClick(TObject* Sender);
    void btnDesktopIconClick(TObject* Sender);
    void btnUninstallClick(TObject* Sender);
    void mnuAboutClick(TObject* Sender);

  private:
    static const FormClass formClass;
    appProperties properties;
};

extern TfrmMain* frmMain;
