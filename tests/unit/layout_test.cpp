#include "components/application.h"
#include "components/bitbtn.h"
#include "components/form.h"
#include "components/image.h"
#include "components/label.h"
#include "components/layout.h"
#include "components/menu.h"

#include <gtest/gtest.h>

#include <string>

namespace {

class TFixtureForm : public TForm {
  public:
    TFixtureForm(TComponent* owner, const std::string& layout) : TForm(owner, formClass, layout) {}
    explicit TFixtureForm(TComponent* owner) : TForm(owner, formClass) {}
    void OkClick(TObject*) { ++clicks; }
    void FormMouseMove(TObject*, TShiftState, int x, int y) { lastMove = {x, y}; }
    int clicks = 0;
    POINT lastMove{-1, -1};

  private:
    static const FormClass formClass;
};

const TForm::FormClass TFixtureForm::formClass{
    "TFixtureForm",
    {handler("OkClick", &TFixtureForm::OkClick),
     handler("FormMouseMove", &TFixtureForm::FormMouseMove)}};

const char goodLayout[] = R"(# every kind of value
object fixtureForm: TFixtureForm
  Caption = 'It''s a form  '
  ClientWidth = 400
  ClientHeight = 205
  Color = clBlack
  BorderStyle = bsSingle
  BorderIcons = [biSystemMenu, biMinimize]
  Position = poScreenCenter
  Font.Name = 'MS Sans Serif'
  Font.Height = -11
  Font.Color = clWindowText
  Menu = mainMenu
  ActiveControl = Second
  object Note: TLabel
    Left = 4
    Top = $10
    Width = 109
    Height = 21
    Caption = 'Two blanks  '
    Color = clBtnFace
    Font.Color = clRed
    OnClick = OkClick
  end
  object First: TButton
    Left = 322
    Top = 6
    Width = 75
    Height = 23
    Caption = '&First'
    TabOrder = 1
    OnClick = OkClick
  end
  object Second: TButton
    Left = 322
    Top = 30
    Width = 75
    Height = 19
    Caption = 'Sec&ond'
    TabOrder = 0
  end
  object mainMenu: TMainMenu
    object mnuItem: TMenuItem
      Caption = '&About'
      OnClick = OkClick
    end
  end
end
)";

RECT clientRectOf(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string windowText(HWND window) {
    char buffer[256] = "";
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

TEST(LayoutLoader, BuildsEveryComponentWithItsValues) {
    TFixtureForm form(Application, goodLayout);
    EXPECT_EQ(form.Name(), "fixtureForm");
    EXPECT_EQ(windowText(form.Handle()), "It's a form  ");
    EXPECT_EQ(form.Color, clBlack);
    EXPECT_EQ(form.BorderStyle, bsSingle);
    EXPECT_EQ(form.Position, poScreenCenter);
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 205);
    LONG style = GetWindowLongA(form.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);

    auto* note = dynamic_cast<TLabel*>(form.FindComponent("Note"));
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->Caption, "Two blanks  ");
    EXPECT_EQ(note->Top, 16);
    EXPECT_EQ(note->Width, 109);
    EXPECT_EQ(note->Color, clBtnFace);
    EXPECT_FALSE(note->ParentColor);
    EXPECT_EQ(note->Font.Color(), clRed);
    EXPECT_FALSE(note->ParentFont);
    ASSERT_TRUE(note->OnClick);
    note->OnClick(note);
    EXPECT_EQ(form.clicks, 1);

    auto* first = dynamic_cast<TButton*>(form.FindComponent("First"));
    auto* second = dynamic_cast<TButton*>(form.FindComponent("Second"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(windowText(first->Handle()), "&First");
    RECT r = clientRectOf(second->Handle());
    EXPECT_EQ(r.left, 322);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.right - r.left, 75);
    EXPECT_EQ(r.bottom - r.top, 19);
    // Tab order is window order: Second (0) comes before First (1).
    EXPECT_EQ(GetNextDlgTabItem(form.Handle(), second->Handle(), FALSE), first->Handle());
    EXPECT_EQ(form.ActiveControl(), second);
    EXPECT_TRUE(first->Font.Name() == "MS Sans Serif" && first->ParentFont);

    ASSERT_NE(form.Menu(), nullptr);
    HMENU menu = GetMenu(form.Handle());
    ASSERT_NE(menu, nullptr);
    char item[32] = "";
    GetMenuStringA(menu, 0, item, sizeof item, MF_BYPOSITION);
    EXPECT_STREQ(item, "&About");

    // A click and a menu command take the same path: WM_COMMAND by id.
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(first->id(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(first->Handle()));
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(GetMenuItemID(menu, 0), 0), 0);
    EXPECT_EQ(form.clicks, 3);
}

TEST(LayoutLoader, LoadsFromTheResourceNamedAfterTheClass) {
    TFixtureForm form(Application);
    EXPECT_EQ(windowText(form.Handle()), "Stored ");
    EXPECT_EQ(form.BorderStyle, bsDialog);
    EXPECT_FALSE(GetWindowLongA(form.Handle(), GWL_STYLE) & WS_SYSMENU);
    auto* picture = dynamic_cast<TImage*>(form.FindComponent("Picture"));
    ASSERT_NE(picture, nullptr);
    // AutoSize takes the bitmap's own size over the stored one.
    EXPECT_EQ(picture->Width, 320);
    EXPECT_EQ(picture->Height, 200);
    auto* ok = dynamic_cast<TBitBtn*>(form.FindComponent("Ok"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->Caption, "OK");
    EXPECT_EQ(ok->ModalResult, mrOk);
    EXPECT_TRUE(ok->Default);
    EXPECT_FALSE(ok->Cancel);
    EXPECT_NE(SendMessageA(form.Handle(), WM_GETICON, ICON_BIG, 0), 0);
    // The form's own mouse event fires over bare client area, in layout units.
    SendMessageA(form.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(390, 240));
    EXPECT_EQ(form.lastMove.x, 390);
    EXPECT_EQ(form.lastMove.y, 240);
}

std::string replaced(const std::string& from, const std::string& to) {
    std::string text = goodLayout;
    size_t at = text.find(from);
    if (at == std::string::npos)
        ADD_FAILURE() << "fixture has no " << from;
    else
        text.replace(at, from.size(), to);
    return text;
}

TEST(LayoutLoader, BadLayoutsRaiseAnExceptionThatNamesTheFault) {
    struct Case {
        std::string layout;
        std::string mentions;
    };
    const Case cases[] = {
        {replaced("object First: TButton", "object First: TSpinner"), "TSpinner"},
        {replaced("    Caption = '&First'", "    Colour = clRed"), "Colour"},
        {replaced("OnClick = OkClick\n  end\n  object Second",
                  "OnClick = NoSuchClick\n  end\n  object Second"),
         "NoSuchClick"},
        {replaced("Menu = mainMenu", "Menu = nowhere"), "nowhere"},
        {replaced("ActiveControl = Second", "ActiveControl = Missing"), "Missing"},
        {replaced("object Second: TButton", "object First: TButton"), "First"},
        {replaced("Top = $10", "Top = 'sixteen'"), "Top"},
        {replaced("Color = clBlack", "Color = clPuce"), "clPuce"},
        {replaced("BorderStyle = bsSingle", "BorderStyle = bsWobbly"), "bsWobbly"},
        {replaced("Caption = '&About'", "Caption = '&About"), "line 4"},
        {replaced("TFixtureForm\n", "TOtherForm\n"), "TOtherForm"},
        {replaced("    object mnuItem: TMenuItem", "    object mnuItem: TButton"), "mnuItem"},
        {std::string(goodLayout).substr(0, std::string(goodLayout).rfind("end")), "missing"},
        {std::string(goodLayout) + "stray\n", "after the last"},
        {replaced("ClientWidth = 400", "PixelsPerInch = 0"), "PixelsPerInch"},
        {replaced("ClientWidth = 400", "PixelsPerInch = -96"), "PixelsPerInch"},
    };
    for (const Case& c : cases) {
        try {
            TFixtureForm form(Application, c.layout);
            ADD_FAILURE() << "no exception for a layout that should mention " << c.mentions;
        } catch (const Exception& e) {
            EXPECT_NE(e.Message().find(c.mentions), std::string::npos)
                << "message: " << e.Message();
        }
    }
}

class TAbsentForm : public TForm {
  public:
    explicit TAbsentForm(TComponent* owner) : TForm(owner, formClass) {}
    inline static const FormClass formClass{"TAbsentForm", {}};
};

TEST(LayoutLoader, MissingResourceIsNamed) {
    try {
        TAbsentForm form(Application);
        ADD_FAILURE() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Resource TABSENTFORM not found");
    }
}

TEST(LayoutParser, ReadsValuesOfEveryKind) {
    LayoutObject root = parseLayout("object a: TA\n  N = -11\n  H = $FF\n  S = 'x''y  '\n"
                                    "  I = clRed\n  E = []\n  T = [p, q]\n  F.G = 1 # note\nend\n",
                                    "T");
    ASSERT_EQ(root.properties.size(), 7u);
    EXPECT_EQ(root.properties[0].value.integer, -11);
    EXPECT_EQ(root.properties[1].value.integer, 255);
    EXPECT_EQ(root.properties[2].value.text, "x'y  ");
    EXPECT_EQ(root.properties[3].value.kind, LayoutValue::Kind::Identifier);
    EXPECT_TRUE(root.properties[4].value.items.empty());
    EXPECT_EQ(root.properties[5].value.items, (std::vector<std::string>{"p", "q"}));
    EXPECT_EQ(root.properties[6].name, "F.G");
    EXPECT_EQ(root.properties[6].line, 8);
}

} // namespace

namespace {

// Once the program has asked to quit, a click that is still on its way (a fast
// second click on a play button or the picture) must not run its action again.
TEST(LayoutLoader, ClicksAfterAQuitRequestDoNotReachTheirHandlers) {
    TFixtureForm form(Application, goodLayout);
    auto* first = dynamic_cast<TButton*>(form.FindComponent("First"));
    ASSERT_NE(first, nullptr);
    auto clickFirst = [&] {
        SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(first->id(), BN_CLICKED),
                     reinterpret_cast<LPARAM>(first->Handle()));
    };
    auto doubleClickNote = [&] {
        SendMessageA(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 20));
        SendMessageA(form.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 20));
    };
    clickFirst();
    doubleClickNote();
    EXPECT_EQ(form.clicks, 2);

    PostQuitMessage(0);
    clickFirst();
    doubleClickNote();
    EXPECT_EQ(form.clicks, 2);

    MSG quit;
    ASSERT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    clickFirst();
    EXPECT_EQ(form.clicks, 3);
}

} // namespace

namespace {

// Moved to a monitor of another resolution, the form lays itself out anew.
TEST(LayoutLoader, FollowsAChangeOfResolution) {
    TFixtureForm form(Application, goodLayout);
    auto* second = dynamic_cast<TButton*>(form.FindComponent("Second"));
    ASSERT_NE(second, nullptr);
    HFONT before = second->Font.Handle();
    RECT suggested{10, 20, 1000, 700};
    SendMessageA(form.Handle(), WM_DPICHANGED, MAKEWPARAM(192, 192),
                 reinterpret_cast<LPARAM>(&suggested));
    // Laid out for 96 dpi, everything doubles at 192.
    RECT r = clientRectOf(second->Handle());
    EXPECT_EQ(r.left, 644);
    EXPECT_EQ(r.top, 60);
    EXPECT_EQ(r.bottom - r.top, 38);
    LOGFONTA font{};
    GetObjectA(second->Font.Handle(), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -22);
    EXPECT_NE(second->Font.Handle(), before);
    RECT window;
    GetWindowRect(form.Handle(), &window);
    EXPECT_EQ(window.right - window.left, 990);
}

} // namespace

namespace {

// A layout made at another resolution than 96 dpi: its font heights are in that
// resolution's pixels as much as its positions are.
TEST(LayoutLoader, TheLayoutsResolutionScalesFontsAsItScalesPositions) {
    std::string layout = goodLayout;
    auto replace = [&](const std::string& from, const std::string& to) {
        size_t at = layout.find(from);
        ASSERT_NE(at, std::string::npos) << from;
        layout.replace(at, from.size(), to);
    };
    replace("ClientWidth = 400\n  ClientHeight = 205",
            "PixelsPerInch = 192\n  ClientWidth = 800\n  ClientHeight = 410");
    replace("Font.Height = -11", "Font.Height = -22");
    replace("    Left = 322\n    Top = 30\n    Width = 75\n    Height = 19",
            "    Left = 644\n    Top = 60\n    Width = 150\n    Height = 38");
    TFixtureForm form(Application, layout);
    ASSERT_EQ(form.Dpi(), 96) << "the test screen's resolution";
    auto* second = dynamic_cast<TButton*>(form.FindComponent("Second"));
    ASSERT_NE(second, nullptr);
    RECT r = clientRectOf(second->Handle());
    EXPECT_EQ(r.left, 322);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(r.bottom - r.top, 19);
    LOGFONTA font{};
    GetObjectA(second->Font.Handle(), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -11);
    RECT client;
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, 400);
}

// A form created hidden at start-up makes its window, with its buttons, only when
// something first needs it.
TEST(LayoutLoader, TheWindowIsMadeWhenFirstNeeded) {
    TFixtureForm form(Application, goodLayout);
    EXPECT_FALSE(form.HandleAllocated());
    auto* note = dynamic_cast<TLabel*>(form.FindComponent("Note"));
    ASSERT_NE(note, nullptr);
    note->Font.setColor(clWindowText); // repainting a label needs no window yet
    EXPECT_FALSE(form.HandleAllocated());

    auto* first = dynamic_cast<TButton*>(form.FindComponent("First"));
    ASSERT_NE(first, nullptr);
    HWND button = first->Handle();
    EXPECT_TRUE(form.HandleAllocated());
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(GetParent(button), form.Handle());
    EXPECT_FALSE(IsWindowVisible(form.Handle()));
}

} // namespace
