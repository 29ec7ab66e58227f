// The main window's menus are painted by the flat menu styling: every item is
// owner-drawn, and the window answers the measure request of a menu item with
// the styler's figures.

#include "gui/GuiFixture.h"
#include "shell/FormMain.h"
#include "shell/MainMenu.h"

#include <cmath>

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

TEST_F(TMenuStylingTest, MeasuringAnItemGivesTheTextHeightPlusThreeQuartersAndRoomForTheIcon)
{
    HMENU file = GetSubMenu(GetMenu(App->FormMain->Handle()), 0);
    int position = 0;
    while (position < GetMenuItemCount(file) && GetMenuItemID(file, position) != Beenden1)
        ++position;
    ASSERT_LT(position, GetMenuItemCount(file));

    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemID = Beenden1;
    measure.itemData = ItemInfo(file, UINT(position)).dwItemData;
    EXPECT_TRUE(SendMessageW(App->FormMain->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure)));

    // The menu font of the main window is Tahoma with height -11.
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma");
    HGDIOBJ previous = SelectObject(screen, font);
    SIZE text{};
    GetTextExtentPoint32W(screen, L"Выход", 5, &text);
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);

    const int iconWidth = 24;
    EXPECT_EQ(int(measure.itemWidth), text.cx + 5 + iconWidth);
    EXPECT_EQ(int(measure.itemHeight), text.cy + int(std::nearbyint(0.75 * text.cy)));
}

} // namespace
