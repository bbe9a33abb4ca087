// The About dialog as start-up builds it, examined from inside the program: the
// stored settings that the end-to-end tests cannot read from another process.
#include "components/application.h"
#include "ui/about.h"
#include "ui/main.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Both forms, made once and in start-up's order, as the program makes them.
void startUp() {
    static const bool made = [] {
        Application->Initialize();
        Application->CreateForm(frmMain);
        Application->CreateForm(frmAbout);
        return true;
    }();
    (void)made;
}

std::string windowText(HWND window) {
    char buffer[256] = "";
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

void expectDialogFont(const TFont& font, const char* what) {
    EXPECT_EQ(font.Name(), "MS Sans Serif") << what;
    EXPECT_EQ(font.Height(), -11) << what;
    EXPECT_EQ(font.Charset(), DEFAULT_CHARSET) << what;
    EXPECT_EQ(font.Color(), clWindowText) << what;
}

TEST(AboutForm, IsAHiddenFixedDialogWithoutTitleBarButtons) {
    startUp();
    HWND dialog = frmAbout->Handle();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(Application->MainForm(), frmMain);
    EXPECT_EQ(frmAbout->Owner(), Application);
    EXPECT_FALSE(IsWindowVisible(dialog));
    EXPECT_EQ(windowText(dialog), "About Tarvosk");

    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, 181);
    EXPECT_EQ(client.bottom, 154);

    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    LONG exStyle = GetWindowLongA(dialog, GWL_EXSTYLE);
    EXPECT_TRUE((style & WS_CAPTION) == WS_CAPTION);
    EXPECT_FALSE(style & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(exStyle & WS_EX_DLGMODALFRAME);
    // The help button needs the system menu, which the dialog has not.
    EXPECT_FALSE(exStyle & WS_EX_CONTEXTHELP);

    EXPECT_EQ(frmAbout->Position, poScreenCenter);
    EXPECT_EQ(frmAbout->Left, 267);
    EXPECT_EQ(frmAbout->Top, 123);
    EXPECT_EQ(frmAbout->Color, clBtnFace);
    expectDialogFont(frmAbout->Font, "dialog");
    EXPECT_TRUE(frmAbout->OnMouseMove);
    EXPECT_NE(SendMessageA(dialog, WM_GETICON, ICON_BIG, 0), 0);
}

TEST(AboutForm, ComponentsStandInTheirStoredOrderAndPlaces) {
    startUp();
    struct Expected {
        TControl* control;
        const char* name;
        RECT bounds;
        const char* caption;
    };
    const Expected expected[] = {
        {frmAbout->Image1, "Image1", {136, 2, 168, 34}, nullptr},
        {frmAbout->Label1, "Label1", {4, 16, 113, 37}, "TC Adaption Program  "},
        {frmAbout->Label2, "Label2", {4, 0, 113, 13}, "Halvern - Version 5.5 "},
        {frmAbout->Label3, "Label3", {4, 32, 114, 53}, "(c) 1994 Edda Marrow"},
        {frmAbout->Label4, "Label4", {4, 92, 121, 109}, "Windows Programming"},
        {frmAbout->Label6, "Label6", {4, 112, 121, 125}, "(c) 1998 J. Halloran"},
        {frmAbout->lblKelvaneURL, "lblKelvaneURL", {4, 52, 113, 73}, "Kelvane on the internet"},
        {frmAbout->lblOstreyURL, "lblOstreyURL", {4, 132, 121, 149}, "Ostrey on the internet"},
        {frmAbout->BitBtn1, "BitBtn1", {128, 126, 177, 151}, "OK"},
    };
    const auto& controls = frmAbout->Controls();
    ASSERT_EQ(controls.size(), std::size(expected));
    for (size_t i = 0; i < controls.size(); ++i) {
        const Expected& e = expected[i];
        EXPECT_EQ(controls[i], e.control) << "paint order at " << i << ": " << e.name;
        EXPECT_EQ(e.control->Name(), e.name);
        RECT bounds = e.control->BoundsRect();
        EXPECT_TRUE(EqualRect(&bounds, &e.bounds))
            << e.name << " at " << bounds.left << "," << bounds.top << "-" << bounds.right << ","
            << bounds.bottom;
        if (auto* label = dynamic_cast<TLabel*>(e.control)) {
            EXPECT_EQ(label->Caption, e.caption) << e.name;
        }
    }

    // Only the two link labels have a colour and font of their own, and only the
    // Kelvane one stores them; both start in the dialog's colours.
    for (TLabel* label : {frmAbout->Label1, frmAbout->Label3, frmAbout->Label4, frmAbout->Label6,
                          frmAbout->lblOstreyURL}) {
        EXPECT_TRUE(label->ParentColor) << label->Name();
        EXPECT_TRUE(label->ParentFont) << label->Name();
    }
    for (TLabel* label : {frmAbout->Label2, frmAbout->lblKelvaneURL}) {
        EXPECT_FALSE(label->ParentColor) << label->Name();
        EXPECT_EQ(label->Color, clBtnFace) << label->Name();
    }
    EXPECT_FALSE(frmAbout->lblKelvaneURL->ParentFont);
    for (TLabel* label : {frmAbout->Label1, frmAbout->lblKelvaneURL, frmAbout->lblOstreyURL})
        expectDialogFont(label->Font, label->Name().c_str());

    for (TLabel* link : {frmAbout->lblKelvaneURL, frmAbout->lblOstreyURL}) {
        EXPECT_TRUE(link->OnClick) << link->Name();
        EXPECT_TRUE(link->OnMouseMove) << link->Name();
    }
    for (TLabel* label :
         {frmAbout->Label1, frmAbout->Label2, frmAbout->Label3, frmAbout->Label4, frmAbout->Label6})
        EXPECT_FALSE(label->OnClick || label->OnMouseMove) << label->Name();

    EXPECT_TRUE(frmAbout->Image1->AutoSize);
    EXPECT_TRUE(frmAbout->Image1->Stretch);

    TBitBtn* ok = frmAbout->BitBtn1;
    EXPECT_EQ(ok->Kind, bkOK);
    EXPECT_EQ(ok->ModalResult, mrOk);
    EXPECT_TRUE(ok->Default);
    EXPECT_FALSE(ok->Cancel);
    EXPECT_EQ(ok->TabOrder, 0);
    EXPECT_TRUE(ok->OnClick);
    EXPECT_EQ(GetNextDlgTabItem(frmAbout->Handle(), nullptr, FALSE), ok->Handle());
}

// The pointer crosses bare client area on nearly every move: an unchanged colour
// must not repaint, or the labels would flicker under a moving pointer.
TEST(AboutForm, ALinkIsRepaintedOnlyWhenItsColourChanges) {
    startUp();
    HWND dialog = frmAbout->Handle();
    frmAbout->Show();
    UpdateWindow(dialog);
    auto pending = [&](RECT& r) { return GetUpdateRect(dialog, &r, FALSE) != FALSE; };
    RECT update;
    ASSERT_FALSE(pending(update));

    frmAbout->FormMouseMove(frmAbout, 0, 150, 60);
    EXPECT_FALSE(pending(update)) << "both links already have the window-text colour";

    frmAbout->lblKelvaneURLMouseMove(frmAbout->lblKelvaneURL, 0, 10, 5);
    EXPECT_EQ(frmAbout->lblKelvaneURL->Font.Color(), clRed);
    EXPECT_EQ(frmAbout->lblOstreyURL->Font.Color(), clWindowText);
    ASSERT_TRUE(pending(update));
    RECT kelvane = frmAbout->lblKelvaneURL->BoundsRect();
    EXPECT_TRUE(EqualRect(&update, &kelvane));
    UpdateWindow(dialog);

    frmAbout->lblKelvaneURLMouseMove(frmAbout->lblKelvaneURL, 0, 11, 5);
    EXPECT_FALSE(pending(update)) << "already red";

    frmAbout->FormMouseMove(frmAbout, 0, 150, 60);
    EXPECT_EQ(frmAbout->lblKelvaneURL->Font.Color(), clWindowText);
    ASSERT_TRUE(pending(update));
    EXPECT_TRUE(EqualRect(&update, &kelvane));
    UpdateWindow(dialog);
    frmAbout->Hide();
}

TEST(AboutForm, OkEndsTheModalShowingAndCloseLeavesCancel) {
    startUp();
    // Queued, so that it arrives inside the modal loop, as a click would.
    PostMessageA(frmAbout->Handle(), WM_COMMAND, MAKEWPARAM(frmAbout->BitBtn1->id(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(frmAbout->BitBtn1->Handle()));
    EXPECT_EQ(frmAbout->ShowModal(), mrCancel);
    EXPECT_FALSE(IsWindowVisible(frmAbout->Handle()));
}

} // namespace
