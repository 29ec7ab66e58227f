#include "menustyle/MainMenuStyler.h"
#include "menustyle/StylerFixture.h"

#include <gtest/gtest.h>

using namespace vehmira::menustyle;

namespace {

constexpr UINT ExitCommand = 1001;
constexpr UINT PathCommand = 1002;

// A menu bar built the plain Win32 way, as the main window builds its own.
HMENU PlainMenuBar()
{
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, ExitCommand, L"Выход");
    HMENU settings = CreatePopupMenu();
    AppendMenuW(settings, MF_STRING, PathCommand, L"Путь");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), L"Файл  ");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(settings), L"Установки  ");
    return bar;
}

UINT NativeType(HMENU menu, UINT position)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_ID;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return info.fType;
}

TEST(MainWindowStyling, AdoptedMenuBarIsOwnerDrawnAndKeepsItsCommands)
{
    TTestWindow window(300, 200, false);
    SetMenu(window.Handle(), PlainMenuBar());
    TMenuStylerAttachment styling(window.Handle());
    TMenuStyler& styler = styling.Styler();
    ASSERT_NE(styling.Form().MainMenu, nullptr);
    TMainMenu& menu = *styling.Form().MainMenu;
    ASSERT_EQ(menu.Items().Count(), 2);
    TMenuItem& exit = menu.Items()[0][0];
    EXPECT_EQ(exit.Caption(), L"Выход");
    EXPECT_EQ(exit.Command(), ExitCommand);
    EXPECT_EQ(menu.Items()[1][0].Command(), PathCommand);
    EXPECT_TRUE(styler.Active());
    EXPECT_TRUE(NativeType(GetMenu(window.Handle()), 0) & MFT_OWNERDRAW);
    EXPECT_TRUE(NativeType(menu.Items()[0].SubmenuHandle(), 0) & MFT_OWNERDRAW);
    EXPECT_EQ(exit.OnDrawItem.Code, &TMenuStyler::DrawMenuItemStep);

    // Commands the window handles itself are not taken by the menu layer.
    LRESULT result = 0;
    EXPECT_FALSE(DispatchMenuMessage(window.Handle(), WM_COMMAND, ExitCommand, 0, result));
}

TEST(MainWindowStyling, WrittenSettings)
{
    TTestWindow window(300, 200, false);
    SetMenu(window.Handle(), PlainMenuBar());
    TMenuStylerAttachment styling(window.Handle());
    const TMenuStyler& styler = styling.Styler();
    EXPECT_EQ(styler.XPContainers().Mask(), 0);
    EXPECT_EQ(styler.XPControls(), (TXPControls{xcMainMenu, xcPopupMenu}));
    EXPECT_EQ(styler.Font().Name, L"Tahoma");
    EXPECT_EQ(styler.Font().Height, -11);
    EXPECT_EQ(styler.Font().Color, clMenuText);
    EXPECT_EQ(styler.Settings.DisabledColor, clInactiveCaption);
    EXPECT_FALSE(styler.Settings.FlatMenu);
    EXPECT_FALSE(styler.Settings.Gradient);
    EXPECT_TRUE(styler.UseSystemColors());
}

TEST(MainWindowStyling, PopupItemHeightIsTextHeightAndThreeQuarters)
{
    TTestWindow window(300, 200, false);
    SetMenu(window.Handle(), PlainMenuBar());
    TMenuStylerAttachment styling(window.Handle());
    TMenuItem& exit = styling.Form().MainMenu->Items()[0][0];
    TBitmap surface(4, 4);
    surface.Canvas().SetFont(styling.Styler().Font());
    const int textHeight = surface.Canvas().TextHeight(L"Выход");
    int width = 0;
    int height = 0;
    styling.Styler().MeasureMenuItem(exit, surface.Canvas(), width, height);
    EXPECT_EQ(height, textHeight + RoundHalfEven(0.75 * textHeight));
    EXPECT_EQ(width, surface.Canvas().TextWidth(L"Выход") + 5 + 24);
}

TEST(MainWindowStyling, FontAndIconColumnScaleWithTheWindowsDpi)
{
    struct TCase {
        int Dpi;
        int FontHeight;
        int IconWidth;
    };
    for (const TCase& c : {TCase{96, -11, 24}, TCase{120, -14, 30}, TCase{144, -17, 36}}) {
        SCOPED_TRACE(c.Dpi);
        TTestWindow window(300, 200, false);
        SetMenu(window.Handle(), PlainMenuBar());
        TMenuStylerAttachment styling(window.Handle(), c.Dpi);
        EXPECT_EQ(styling.Styler().Font().Height, c.FontHeight);
        TMenuItem& exit = styling.Form().MainMenu->Items()[0][0];
        TBitmap surface(4, 4);
        surface.Canvas().SetFont(styling.Styler().Font());
        int width = 0;
        int height = 0;
        styling.Styler().MeasureMenuItem(exit, surface.Canvas(), width, height);
        EXPECT_EQ(width, surface.Canvas().TextWidth(L"Выход") + 5 + c.IconWidth);
        const int textHeight = surface.Canvas().TextHeight(L"Выход");
        EXPECT_EQ(height, textHeight + RoundHalfEven(0.75 * textHeight));
    }
}

TEST(MainWindowStyling, WindowMessagesReachTheStyledSteps)
{
    TTestWindow window(300, 200, false);
    SetMenu(window.Handle(), PlainMenuBar());
    TMenuStylerAttachment styling(window.Handle());
    TMenuItem& exit = styling.Form().MainMenu->Items()[0][0];
    TBitmap surface(120, 30);
    surface.Fill(Sentinel);
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_MENU;
    draw.itemState = ODS_SELECTED;
    draw.hDC = surface.Dc();
    draw.rcItem = RECT{0, 0, 100, 20};
    draw.itemData = reinterpret_cast<ULONG_PTR>(&exit);
    LRESULT result = 0;
    ASSERT_TRUE(styling.HandleMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw), result));
    EXPECT_EQ(surface.Pixel(0, 5), surface.Canvas().Resolve(styling.Styler().Work().WorkSelectBorderColor));
    EXPECT_EQ(surface.Pixel(2, 18), surface.Canvas().Resolve(styling.Styler().Work().WorkSelectColor));
    EXPECT_EQ(surface.Pixel(0, 21), Sentinel);
}

} // namespace

namespace {

TEST(MenuModel, AcceleratorsOfOwnerDrawnItemsAnswerMenuChar)
{
    TStylerFixture fixture;
    TMenuItem& open = fixture.Popup.Items().Add(L"Open1", L"&Open");
    fixture.Popup.Items().Add(L"SaveAs1", L"Save &As");
    fixture.Popup.Items().Add(L"Both1", L"B&&C");
    TMenuItem& gone = fixture.Popup.Items().Add(L"Gone1", L"&Gone");
    gone.SetEnabled(false);
    fixture.Styler->SetActive(true);
    const auto menuChar = [&](wchar_t typed, LRESULT& result) {
        return DispatchMenuMessage(fixture.Window.Handle(), WM_MENUCHAR, MAKEWPARAM(typed, MF_POPUP),
                                   reinterpret_cast<LPARAM>(fixture.Popup.Handle()), result);
    };
    LRESULT result = 0;
    ASSERT_TRUE(menuChar(L'a', result));
    EXPECT_EQ(result, MAKELRESULT(1, MNC_EXECUTE));
    ASSERT_TRUE(menuChar(L'O', result));
    EXPECT_EQ(result, MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_FALSE(menuChar(L'c', result)); // "&&" is a plain "&"
    EXPECT_FALSE(menuChar(L'g', result)); // disabled
    (void)open;
}

TEST(MenuModel, AltAndTheKeyOfALetterReachItInEitherKeyboardLayout)
{
    TStylerFixture fixture;
    fixture.Popup.Items().Add(L"Datei1", L"&Файл");
    fixture.Popup.Items().Add(L"Open1", L"&Open");
    fixture.Popup.Items().Add(L"Ansicht1", L"Ви&д");
    fixture.Popup.Items().Add(L"Laden1", L"&Load");
    fixture.Styler->SetActive(true);
    const auto menuChar = [&](HMENU menu, wchar_t typed, LRESULT& result) {
        return DispatchMenuMessage(fixture.Window.Handle(), WM_MENUCHAR, MAKEWPARAM(typed, MF_POPUP),
                                   reinterpret_cast<LPARAM>(menu), result);
    };
    const HMENU popup = fixture.Popup.Handle();
    LRESULT result = 0;
    ASSERT_TRUE(menuChar(popup, L'a', result)); // the key marked "Ф", English layout on
    EXPECT_EQ(result, MAKELRESULT(0, MNC_EXECUTE));
    ASSERT_TRUE(menuChar(popup, L'щ', result)); // the key marked "O", Russian layout on
    EXPECT_EQ(result, MAKELRESULT(1, MNC_EXECUTE));
    ASSERT_TRUE(menuChar(popup, L'Д', result)); // the letter itself wins over the one on its key ("L")
    EXPECT_EQ(result, MAKELRESULT(2, MNC_EXECUTE));
    ASSERT_TRUE(menuChar(popup, L'l', result));
    EXPECT_EQ(result, MAKELRESULT(3, MNC_EXECUTE));
    EXPECT_FALSE(menuChar(popup, L'x', result)); // "Ч": nobody's

    // A menu that is not drawn by the program answers for the other layout too.
    const HMENU plain = CreatePopupMenu();
    AppendMenuW(plain, MF_STRING, 1, L"&Правка");
    AppendMenuW(plain, MF_STRING | MF_GRAYED, 2, L"&Справка");
    ASSERT_TRUE(menuChar(plain, L'g', result)); // the key marked "П"
    EXPECT_EQ(result, MAKELRESULT(0, MNC_EXECUTE));
    EXPECT_FALSE(menuChar(plain, L'c', result)) << "a disabled item is not chosen";
    DestroyMenu(plain);
}

TEST(MenuModel, ItemChangesReachTheNativeMenu)
{
    TStylerFixture fixture;
    TMenuItem& item = fixture.Popup.Items().Add(L"Item1", L"Before");
    item.SetCaption(L"After");
    item.SetChecked(true);
    item.SetEnabled(false);
    item.SetShortCut(scCtrl | scShift | 'S');
    wchar_t text[64]{};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STATE | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 63;
    ASSERT_TRUE(GetMenuItemInfoW(fixture.Popup.Handle(), 0, TRUE, &info));
    EXPECT_STREQ(text, L"After\tShift+Ctrl+S");
    EXPECT_TRUE(info.fState & MFS_CHECKED);
    EXPECT_TRUE(info.fState & MFS_DISABLED);
}

TEST(MenuModel, ShortCutTexts)
{
    const std::pair<TShortCut, const wchar_t*> cases[] = {
        {scCtrl | 'N', L"Ctrl+N"}, {VK_F5, L"F5"},           {scAlt | VK_F4, L"Alt+F4"},
        {VK_DELETE, L"Del"},      {scShift | '1', L"Shift+1"}, {0, L""}, {scCtrl | 0xE8, L""}};
    for (const auto& [shortCut, text] : cases)
        EXPECT_EQ(ShortCutToText(shortCut), text);
}

} // namespace
