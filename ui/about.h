#pragma once
#include "components/bitbtn.h"
#include "components/form.h"
#include "components/image.h"
#include "components/label.h"

// The About dialog: who made the title and the launcher, and links to both
// groups' web pages that light up under the pointer.
class TfrmAbout : public TForm {
  public:
    TImage* Image1;
    TBitBtn* BitBtn1;
    TLabel* Label1;
    TLabel* Label2;
    TLabel* Label3;
    TLabel* Label4;
    TLabel* Label6;
    TLabel* lblKelvaneURL;
    TLabel* lblOstreyURL;

    explicit TfrmAbout(TComponent* Owner);

    void BitBtn1Click(TObject* Sender);
    void lblKelvaneURLClick(TObject* Sender);
    void lblOstreyURLClick(TObject* Sender);
    void lblKelvaneURLMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void lblOstreyURLMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);
    void FormMouseMove(TObject* Sender, TShiftState Shift, int X, int Y);

  private:
    static const FormClass formClass;
};

extern TfrmAbout* frmAbout;
