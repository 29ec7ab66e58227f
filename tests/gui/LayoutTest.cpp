// What the system reports about the windows: captions, client sizes, borders,
// control positions, tab order, check states, the list's columns and the menu.

#include "gui/GuiFixture.h"
#include "gui/windows/Form1.h"
#include "gui/windows/FormAbout.h"
#include "gui/windows/FormLanguage.h"
#include "gui/windows/FormMain.h"
#include "gui/framework/WideText.h"
#include "gui/windows/FormPath.h"
#include "gui/windows/MainMenu.h"
#include "gui/wizard/FormCarFiles.h"
#include "gui/wizard/FormImportEnde.h"
#include "gui/wizard/FormImportTyp.h"

#include <commctrl.h>

using namespace vehmira::gui;
using namespace vehmira::gui::framework;

namespace {

class TLayoutTest : public TGuiTest {
protected:
    void SetUp() override { CreateApp(); }
};

std::wstring Caption(HWND window)
{
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

SIZE ClientSize(HWND window)
{
    RECT client{};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

TEST_F(TLayoutTest, FormsHaveTheirCaptionsSizesAndTitleBarButtons)
{
    struct TCase {
        TForm* Form;
        std::wstring Caption;
        int Width, Height;
        bool ClientSize;
        LONG_PTR Present, Absent;
    };
    constexpr LONG_PTR Buttons = WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    const TCase cases[] = {
        {App->FormMain.get(), L"Vehmira 1.0 :: Русская версия от Korvast Localisations", 526, 320, true,
         WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME, 0},
        {App->FormPath.get(), L"Путь", 362, 141, true, WS_CAPTION, Buttons | WS_THICKFRAME},
        {App->FormLanguage.get(), L"Выбор языка", 235, 234, true, WS_SYSMENU, WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME},
        {App->FormAbout.get(), L"О программе", 301, 182, true, WS_CAPTION, Buttons | WS_THICKFRAME},
        {App->Form1.get(), L"Экспорт", 543, 375, false, Buttons | WS_THICKFRAME, 0},
        {App->FormImportTyp.get(), L"Импорт транспортного средства", 298, 213, true, WS_SYSMENU, WS_MINIMIZEBOX | WS_THICKFRAME},
        {App->FormCarFiles.get(), L"Импорт транспортного средства", 410, 480, true, WS_SYSMENU, WS_MINIMIZEBOX | WS_THICKFRAME},
        {App->Form_ImportEnde.get(), L"Импорт транспортного средства", 378, 463, true, WS_SYSMENU, WS_MINIMIZEBOX | WS_THICKFRAME},
    };
    for (const TCase& c : cases) {
        HWND window = c.Form->Handle();
        SCOPED_TRACE(testing::Message() << "form " << Utf8(c.Caption));
        EXPECT_EQ(Caption(window), c.Caption);
        RECT outer{};
        GetWindowRect(window, &outer);
        const SIZE size = c.ClientSize ? ClientSize(window) : SIZE{outer.right - outer.left, outer.bottom - outer.top};
        EXPECT_EQ(size.cx, c.Width);
        EXPECT_EQ(size.cy, c.Height);
        const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
        EXPECT_EQ(style & c.Present, c.Present);
        EXPECT_EQ(style & c.Absent, 0);
        EXPECT_FALSE(IsWindowVisible(window)) << "created hidden";
        // Centred on the screen.
        EXPECT_NEAR((outer.left + outer.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
        EXPECT_NEAR((outer.top + outer.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    }
}

TEST_F(TLayoutTest, MainWindowControlsSitWhereTheLayoutPutsThem)
{
    struct TCase {
        const char* Name;
        const char* Parent;
        RECT Bounds; // left, top, right, bottom relative to the parent
        std::wstring Caption;
    };
    const TCase cases[] = {
        {"Group_Cars", nullptr, {24, 16, 24 + 313, 16 + 281}, L" Транспортные средства "},
        {"List_ID", "Group_Cars", {24, 32, 24 + 265, 32 + 197}, L""},
        {"Label_ListStatus", "Group_Cars", {24, 233, 24 + 265, 233 + 41},
         L"Каталог игры не указан: «Установки» → «Путь»."},
        {"Group_Export", nullptr, {344, 16, 344 + 161, 16 + 161}, L" Экспортировать "},
        {"Check_DFF", "Group_Export", {32, 32, 32 + 73, 32 + 17}, L"DFF-файл"},
        {"Check_TXD", "Group_Export", {32, 48, 32 + 73, 48 + 17}, L"TXD-файл"},
        {"Check_GXT", "Group_Export", {32, 64, 32 + 97, 64 + 17}, L"GXT-файл"},
        {"Check_Handling", "Group_Export", {32, 88, 32 + 97, 88 + 17}, L"Handling.cfg"},
        {"Check_Vehicles", "Group_Export", {32, 104, 32 + 97, 104 + 17}, L"Vehicles.ide"},
        {"Check_Carcols", "Group_Export", {32, 120, 32 + 97, 120 + 17}, L"Carcols.dat"},
        {"Group_Commands", nullptr, {344, 184, 344 + 161, 184 + 113}, L" Действие "},
        {"Button_Export", "Group_Commands", {24, 32, 24 + 113, 32 + 25}, L"&Экспорт"},
        {"Button_Import", "Group_Commands", {24, 64, 24 + 113, 64 + 25}, L"&Импорт"},
    };
    TFormMain& main = *App->FormMain;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        RECT bounds = RectIn(main.Control(c.Name), main.Handle());
        if (c.Parent) {
            const RECT parent = RectIn(main.Control(c.Parent), main.Handle());
            OffsetRect(&bounds, -parent.left, -parent.top);
        }
        // The written place, and at least the written size: a control grows to show its whole text.
        EXPECT_EQ(bounds.left, c.Bounds.left);
        EXPECT_EQ(bounds.top, c.Bounds.top);
        EXPECT_GE(bounds.right, c.Bounds.right);
        EXPECT_GE(bounds.bottom, c.Bounds.bottom);
        EXPECT_EQ(Caption(main.Control(c.Name)), c.Caption);
    }
    for (const auto& [name, checked] : {std::pair{"Check_DFF", true}, {"Check_TXD", true}, {"Check_GXT", true},
                                        {"Check_Handling", false}, {"Check_Vehicles", false}, {"Check_Carcols", false}})
        EXPECT_EQ(main.IsChecked(name), checked) << name;
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(main.Control("Button_Export"), WM_GETFONT, 0, 0)), sizeof(font), &font);
    EXPECT_EQ(font.lfHeight, -11);
    EXPECT_STREQ(font.lfFaceName, L"Tahoma");
}

// A larger main window gives the list the room; the right column keeps to the
// edge; the window never gets smaller than its written layout.
TEST_F(TLayoutTest, TheMainWindowResizesAroundItsList)
{
    HWND main = App->FormMain->Handle();
    const auto bounds = [&](const char* name) { return RectIn(App->FormMain->Control(name), main); };
    const RECT list = bounds("List_ID");
    const RECT exportGroup = bounds("Group_Export");
    const RECT importButton = bounds("Button_Import");
    RECT outer{};
    GetWindowRect(main, &outer);
    SetWindowPos(main, nullptr, 0, 0, outer.right - outer.left + 200, outer.bottom - outer.top + 150,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT grownList = bounds("List_ID");
    EXPECT_EQ(grownList.left, list.left);
    EXPECT_EQ(grownList.right - list.right, 200);
    EXPECT_EQ(grownList.bottom - list.bottom, 150);
    EXPECT_EQ(bounds("Group_Export").left - exportGroup.left, 200);
    EXPECT_EQ(bounds("Button_Import").left - importButton.left, 200);
    EXPECT_EQ(bounds("Button_Import").top, importButton.top);
    HWND listView = App->FormMain->Control("List_ID");
    RECT listClient{};
    GetClientRect(listView, &listClient);
    EXPECT_GE(ListView_GetColumnWidth(listView, 0) + ListView_GetColumnWidth(listView, 1) +
                  ListView_GetColumnWidth(listView, 2),
              listClient.right - GetSystemMetrics(SM_CXVSCROLL) - 1)
        << "the name column takes the new width";

    SetWindowPos(main, nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(ClientSize(main).cx, 526);
    EXPECT_EQ(ClientSize(main).cy, 320);
    EXPECT_EQ(bounds("List_ID").right, list.right) << "back at the written layout";
}

TEST_F(TLayoutTest, TabOrderFollowsTheLayout)
{
    // With a game open, so that the commands that need one are on.
    WriteGame();
    WriteCompleteSettings();
    App.reset();
    EXPECT_NO_PROBLEMS(Start());
    struct TCase {
        TForm* Form;
        std::vector<const char*> Order;
    };
    const TCase cases[] = {
        {App->FormMain.get(),
         {"List_ID", "Check_DFF", "Check_TXD", "Check_GXT", "Check_Handling", "Check_Vehicles", "Check_Carcols",
          "Button_Export", "Button_Import"}},
        {App->FormPath.get(), {"Edit_Path", "Button_Search", "Button_Cancel", "Button_OK"}},
        {App->FormLanguage.get(), {"Combo_Language", "Combo_GXT", "Button_Cancel", "Button_OK"}},
    };
    for (const TCase& c : cases) {
        HWND form = c.Form->Handle();
        HWND current = c.Form->Control(c.Order.front());
        for (std::size_t i = 1; i <= c.Order.size(); ++i) {
            current = GetNextDlgTabItem(form, current, FALSE);
            const char* expected = c.Order[i % c.Order.size()]; // the order wraps round
            EXPECT_EQ(current, c.Form->Control(expected)) << "step " << i << " should reach " << expected;
        }
    }
}

TEST_F(TLayoutTest, ManifestSelectsCommonControlsSix)
{
    // Only the buttons of common controls 6 know BCM_GETIDEALSIZE; the system's older ones ignore it.
    SIZE ideal{};
    EXPECT_TRUE(SendMessageW(App->FormMain->Control("Button_Export"), BCM_GETIDEALSIZE, 0,
                             reinterpret_cast<LPARAM>(&ideal)));
    EXPECT_GT(ideal.cx, 0);
}

TEST_F(TLayoutTest, VehicleListHasThreeFixedColumnsInReportStyle)
{
    HWND list = App->FormMain->Control("List_ID");
    EXPECT_EQ(GetWindowLongPtrW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(list) & LVS_EX_FULLROWSELECT);
    HWND header = ListView_GetHeader(list);
    ASSERT_EQ(Header_GetItemCount(header), 3);
    // The name takes the list's width beyond the others, less a scroll bar.
    RECT client{};
    GetClientRect(list, &client);
    const int nameWidth = client.right - GetSystemMetrics(SM_CXVSCROLL) - 50 - 70;
    EXPECT_GE(nameWidth, 114);
    const std::pair<const wchar_t*, int> columns[] = {{L"ID", 50}, {L"Название", nameWidth}, {L"Модель", 70}};
    for (int i = 0; i < 3; ++i) {
        wchar_t text[64] = {};
        HDITEMW item{};
        item.mask = HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = 64;
        Header_GetItem(header, i, &item);
        EXPECT_STREQ(text, columns[i].first);
        EXPECT_EQ(ListView_GetColumnWidth(list, i), columns[i].second);

        // Dragging a divider is refused, a double click on it and setting a width change nothing.
        NMHEADERW track{};
        track.hdr = {header, static_cast<UINT_PTR>(GetDlgCtrlID(header)), HDN_BEGINTRACKW};
        track.iItem = i;
        EXPECT_TRUE(SendMessageW(list, WM_NOTIFY, track.hdr.idFrom, reinterpret_cast<LPARAM>(&track)));
        NMHEADERW doubleClick = track;
        doubleClick.hdr.code = HDN_DIVIDERDBLCLICKW;
        SendMessageW(list, WM_NOTIFY, doubleClick.hdr.idFrom, reinterpret_cast<LPARAM>(&doubleClick));
        ListView_SetColumnWidth(list, i, 200);
        ListView_SetColumnWidth(list, i, LVSCW_AUTOSIZE_USEHEADER);
        EXPECT_EQ(ListView_GetColumnWidth(list, i), columns[i].second);
    }
}

TEST_F(TLayoutTest, MenuHasItsSevenItems)
{
    HMENU bar = GetMenu(App->FormMain->Handle());
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    const auto text = [](HMENU menu, UINT item, UINT flag) {
        wchar_t caption[64] = {};
        GetMenuStringW(menu, item, caption, 64, flag);
        return std::wstring(caption);
    };
    struct TPopup {
        std::wstring Caption;
        std::vector<std::pair<std::wstring, UINT>> Items; // in this order; other items may come between
    };
    const TPopup popups[] = {
        {L"&Файл  ", {{L"&Отменить импорт", UndoImportMenu}, {L"&Просмотр", PreviewMenu}, {L"В&ыход", ExitMenu}}},
        {L"&Установки  ", {{L"&Путь", GamePathMenu}, {L"&Язык", LanguageMenu}}},
        {L"&Справка  ", {{L"&О программе", AboutMenu}}},
    };
    for (UINT p = 0; p < 3; ++p) {
        EXPECT_EQ(text(bar, p, MF_BYPOSITION), popups[p].Caption);
        HMENU popup = GetSubMenu(bar, static_cast<int>(p));
        int position = -1;
        for (const auto& [caption, command] : popups[p].Items) {
            EXPECT_EQ(text(popup, command, MF_BYCOMMAND), caption);
            int found = 0;
            while (found < GetMenuItemCount(popup) && GetMenuItemID(popup, found) != command)
                ++found;
            EXPECT_GT(found, position) << Utf8(caption) << " in its place";
            position = found;
        }
    }
}

TEST_F(TLayoutTest, SettingsDialogControlsSitWhereTheLayoutPutsThem)
{
    struct TCase {
        TForm* Form;
        const char* Name;
        const char* Parent;
        POINT Position;
        int Width;
    };
    const TCase cases[] = {
        {App->FormPath.get(), "Label_Path", nullptr, {32, 24}, 218},
        {App->FormPath.get(), "Edit_Path", nullptr, {32, 48}, 297},
        {App->FormPath.get(), "Button_Search", nullptr, {32, 88}, 97},
        {App->FormPath.get(), "Button_Cancel", nullptr, {144, 88}, 89},
        {App->FormPath.get(), "Button_OK", nullptr, {240, 88}, 89},
        {App->FormLanguage.get(), "GroupBox_Language", nullptr, {16, 16}, 201},
        {App->FormLanguage.get(), "Combo_Language", "GroupBox_Language", {30, 32}, 145},
        {App->FormLanguage.get(), "Group_GXT", nullptr, {16, 104}, 201},
        {App->FormLanguage.get(), "Combo_GXT", "Group_GXT", {30, 32}, 145},
        {App->FormLanguage.get(), "Button_Cancel", nullptr, {16, 192}, 97},
        {App->FormLanguage.get(), "Button_OK", nullptr, {120, 192}, 97},
        {App->FormAbout.get(), "TitleLabel", nullptr, {24, 3}, 0},
        {App->FormAbout.get(), "VersionLabel", nullptr, {25, 21}, 0},
        {App->FormAbout.get(), "CreditsLabel", nullptr, {24, 42}, 253},
        {App->FormAbout.get(), "OKButton", nullptr, {203, 145}, 75},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        RECT bounds = RectIn(c.Form->Control(c.Name), c.Form->Handle());
        if (c.Parent) {
            const RECT parent = RectIn(c.Form->Control(c.Parent), c.Form->Handle());
            OffsetRect(&bounds, -parent.left, -parent.top);
        }
        EXPECT_EQ(bounds.left, c.Position.x);
        EXPECT_EQ(bounds.top, c.Position.y);
        if (c.Width) {
            EXPECT_GE(bounds.right - bounds.left, c.Width) << "at least the written width";
        }
    }
    EXPECT_TRUE(GetWindowLongPtrW(App->FormLanguage->Control("Combo_GXT"), GWL_STYLE) & CBS_SORT);
    EXPECT_FALSE(GetWindowLongPtrW(App->FormLanguage->Control("Combo_Language"), GWL_STYLE) & CBS_SORT);
}

} // namespace
