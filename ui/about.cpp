#include "about.h"

#include "launch/ms_shell.h"

TfrmAbout* frmAbout;

const TForm::FormClass TfrmAbout::formClass{
    "TfrmAbout",
    {
        handler("BitBtn1Click", &TfrmAbout::BitBtn1Click),
        handler("lblKelvaneURLClick", &TfrmAbout::lblKelvaneURLClick),
        handler("lblOstreyURLClick", &TfrmAbout::lblOstreyURLClick),
        handler("lblKelvaneURLMouseMove", &TfrmAbout::lblKelvaneURLMouseMove),
        handler("lblOstreyURLMouseMove", &TfrmAbout::lblOstreyURLMouseMove),
        handler("FormMouseMove", &TfrmAbout::FormMouseMove),
    }};

TfrmAbout::TfrmAbout(TComponent* Owner)
    : TForm(Owner, formClass), Image1(component<TImage>("Image1")),
      BitBtn1(component<TBitBtn>("BitBtn1")), Label1(component<TLabel>("Label1")),
      Label2(component<TLabel>("Label2")), Label3(component<TLabel>("Label3")),
      Label4(component<TLabel>("Label4")), Label6(component<TLabel>("Label6")),
      lblKelvaneURL(component<TLabel>("lblKelvaneURL")),
      lblOstreyURL(component<TLabel>("lblOstreyURL")) {}

void TfrmAbout::BitBtn1Click(TObject*) {
    frmAbout->Close();
}

void TfrmAbout::lblKelvaneURLClick(TObject*) {
    msShell shell;
    shell.execute("https://kelvane.example/", "", false);
}

void TfrmAbout::lblOstreyURLClick(TObject*) {
    msShell shell;
    shell.execute("https://ostrey.example/", "", false);
}

void TfrmAbout::lblKelvaneURLMouseMove(TObject*, TShiftState, int, int) {
    lblKelvaneURL->Font.setColor(clRed);
}

void TfrmAbout::lblOstreyURLMouseMove(TObject*, TShiftState, int, int) {
    lblOstreyURL->Font.setColor(clRed);
}

// A link stays lit until the pointer crosses bare client area, wherever it went.
void TfrmAbout::FormMouseMove(TObject*, TShiftState, int, int) {
    lblKelvaneURL->Font.setColor(clWindowText);
    lblOstreyURL->Font.setColor(clWindowText);
}
