// The main window's menus are painted by the flat menu styling: every item is
// owner-drawn, and the window answers the measure request of a menu item with
// the styler's figures.

#include "gui/GuiFixture.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/MainMenu.h"

#include <cmath>
#include <string>

using namespace vehmira::gui;

namespace {

class TMenuStylingTest : public TGuiTest {
protected:
    void SetUp() override { CreateApp(); }
};

MENUITEMINFOW ItemInfo(HMENU menu, UINT position)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_ID;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return info;
}

TEST_F(TMenuStylingTest, EveryMenuItemIsOwnerDrawn)
{
    HMENU bar = GetMenu(App->FormMain->Handle());
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    for (int p = 0; p < GetMenuItemCount(bar); ++p) {
        EXPECT_TRUE(ItemInfo(bar, UINT(p)).fType & MFT_OWNERDRAW) << "bar item " << p;
        HMENU popup = GetSubMenu(bar, p);
        for (int i = 0; i < GetMenuItemCount(popup); ++i)
            EXPECT_TRUE(ItemInfo(popup, UINT(i)).fType & MFT_OWNERDRAW) << "item " << i << " of popup " << p;
    }
}

// The width of a text in the main window's menu font, Tahoma with height -11.
SIZE TextExtent(const std::wstring& text)
{
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
    HGDIOBJ previous = SelectObject(screen, font);
    SIZE extent{};
    GetTextExtentPoint32W(screen, text.c_str(), int(text.size()), &extent);
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return extent;
}

TEST_F(TMenuStylingTest, MenuBarItemsAreWideEnoughForTheirCaptions)
{
    HWND window = App->FormMain->Handle();
    HMENU bar = GetMenu(window);
    // The bar is laid out when the window first shows.
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    const wchar_t* captions[] = {L"Файл  ", L"Установки  ", L"Справка  "};
    for (UINT p = 0; p < 3; ++p) {
        RECT item{};
        ASSERT_TRUE(GetMenuItemRect(window, bar, p, &item));
        EXPECT_GE(item.right - item.left, TextExtent(captions[p]).cx) << "bar item " << p;
    }
}

// Right of "Справка" the bar shows the items' colour, not the system's white menu colour.
TEST_F(TMenuStylingTest, TheBarBeyondItsLastItemHasTheItemsColour)
{
    HWND window = App->FormMain->Handle();
    HMENU bar = GetMenu(window);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    RECT last{};
    ASSERT_TRUE(GetMenuItemRect(window, bar, 2, &last));
    RECT outer{};
    GetWindowRect(window, &outer);
    RECT client{};
    GetClientRect(window, &client);
    POINT clientOrigin{0, 0};
    ClientToScreen(window, &clientOrigin);
    ASSERT_LT(last.right + 20, clientOrigin.x + client.right) << "room beyond the last item";
    HDC windowDc = GetWindowDC(window);
    const COLORREF beyond = GetPixel(windowDc, last.right + 10 - outer.left, (last.top + last.bottom) / 2 - outer.top);
    ReleaseDC(window, windowDc);
    EXPECT_EQ(beyond, GetSysColor(COLOR_BTNFACE));
    ShowWindow(window, SW_HIDE);
}

TEST_F(TMenuStylingTest, MeasuringAnItemGivesTheTextHeightPlusThreeQuartersAndRoomForTheIcon)
{
    HMENU file = GetSubMenu(GetMenu(App->FormMain->Handle()), 0);
    int position = 0;
    while (position < GetMenuItemCount(file) && GetMenuItemID(file, position) != ExitMenu)
        ++position;
    ASSERT_LT(position, GetMenuItemCount(file));

    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemID = ExitMenu;
    measure.itemData = ItemInfo(file, UINT(position)).dwItemData;
    EXPECT_TRUE(SendMessageW(App->FormMain->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));

    const SIZE text = TextExtent(L"Выход");

    const int iconWidth = 24;
    EXPECT_EQ(int(measure.itemWidth), text.cx + 5 + iconWidth);
    EXPECT_EQ(int(measure.itemHeight), text.cy + int(std::nearbyint(0.75 * text.cy)));
}

} // namespace
