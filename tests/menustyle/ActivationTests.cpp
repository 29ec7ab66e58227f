#include "menustyle/StylerFixture.h"

#include <gtest/gtest.h>

using namespace vehmira::menustyle;

namespace {

void ForeignDraw(void*, TMenuItem&, TCanvas&, const RECT&, bool) {}
void ForeignMeasure(void*, TMenuItem&, TCanvas&, int&, int&) {}

bool DrawnByStyler(const TMenuItem& item)
{
    return item.OnDrawItem.Code == &TMenuStyler::DrawMenuItemStep;
}
bool MeasuredByStyler(const TMenuItem& item)
{
    return item.OnMeasureItem.Code == &TMenuStyler::MeasureMenuItemStep;
}

bool NativeOwnerDraw(const TMenuItem& item)
{
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(item.Parent()->SubmenuHandle(), item.Command(), FALSE, &info);
    return (info.fType & MFT_OWNERDRAW) != 0;
}

struct TActivationFixture : testing::Test, TStylerFixture {
    TActivationFixture()
    {
        File = &MainMenu.Items().Add(L"Datei1", L"File  ");
        Exit = &File->Add(L"ExitMenu", L"Exit");
        Deep = &Exit->Add(L"Deep1", L"Deep");
        Copy = &Popup.Items().Add(L"Copy1", L"Copy");
    }
    TMenuItem* File;
    TMenuItem* Exit;
    TMenuItem* Deep;
    TMenuItem* Copy;
};

TEST_F(TActivationFixture, ActivationMakesMenusOwnerDrawnWithTheStylersSteps)
{
    Styler->SetActive(true);
    EXPECT_TRUE(MainMenu.OwnerDraw());
    EXPECT_TRUE(Popup.OwnerDraw());
    for (const TMenuItem* item : {File, Exit, Deep, Copy}) {
        EXPECT_TRUE(DrawnByStyler(*item));
        EXPECT_TRUE(MeasuredByStyler(*item));
        EXPECT_TRUE(NativeOwnerDraw(*item));
    }
    Styler->SetActive(false);
    EXPECT_FALSE(MainMenu.OwnerDraw());
    for (const TMenuItem* item : {File, Exit, Deep, Copy}) {
        EXPECT_FALSE(item->OnDrawItem);
        EXPECT_FALSE(item->OnMeasureItem);
        EXPECT_FALSE(NativeOwnerDraw(*item));
    }
}

TEST_F(TActivationFixture, ExcludeTagRules)
{
    Exit->Tag = ExcludeTag;
    Popup.Tag = ExcludeTag; // a popup menu's Tag is not looked at
    Styler->SetActive(true);
    EXPECT_FALSE(Exit->OnDrawItem);
    EXPECT_FALSE(Exit->OnMeasureItem);
    EXPECT_TRUE(DrawnByStyler(*Deep));
    EXPECT_TRUE(DrawnByStyler(*Copy));

    TStylerFixture other;
    TMenuItem& bar = other.MainMenu.Items().Add(L"Hilfe1", L"Help");
    other.MainMenu.Tag = ExcludeTag;
    other.Styler->SetActive(true);
    EXPECT_FALSE(other.MainMenu.OwnerDraw());
    EXPECT_FALSE(bar.OnDrawItem);
}

TEST_F(TActivationFixture, ForeignHandlersSurviveUnlessOverridden)
{
    File->OnDrawItem = TDrawItemSlot{nullptr, &ForeignDraw};
    Exit->OnMeasureItem = TMeasureItemSlot{nullptr, &ForeignMeasure};
    Styler->SetActive(true);
    EXPECT_EQ(File->OnDrawItem.Code, &ForeignDraw);
    EXPECT_TRUE(MeasuredByStyler(*File));
    EXPECT_TRUE(DrawnByStyler(*Exit));
    EXPECT_EQ(Exit->OnMeasureItem.Code, &ForeignMeasure);

    Styler->SetActive(false);
    EXPECT_EQ(File->OnDrawItem.Code, &ForeignDraw);
    EXPECT_FALSE(File->OnMeasureItem);
    EXPECT_EQ(Exit->OnMeasureItem.Code, &ForeignMeasure);

    Styler->Settings.OverrideOwnerDraw = true;
    Styler->SetActive(true);
    EXPECT_TRUE(DrawnByStyler(*File));
    EXPECT_TRUE(MeasuredByStyler(*Exit));
}

TEST(MenuActivation, MenusWithoutItemsOrOutsideTheStyledKindsStayAsTheyAre)
{
    TStylerFixture empty;
    empty.Styler->SetActive(true);
    EXPECT_FALSE(empty.MainMenu.OwnerDraw());
    EXPECT_FALSE(empty.Popup.OwnerDraw());

    TStylerFixture popupOnly;
    TMenuItem& bar = popupOnly.MainMenu.Items().Add(L"Datei1", L"File");
    TMenuItem& copy = popupOnly.Popup.Items().Add(L"Copy1", L"Copy");
    popupOnly.Styler->SetXPControls(TXPControls{xcPopupMenu});
    popupOnly.Styler->SetActive(true);
    EXPECT_FALSE(popupOnly.MainMenu.OwnerDraw());
    EXPECT_FALSE(bar.OnDrawItem);
    EXPECT_TRUE(DrawnByStyler(copy));

    // Changing the kinds while active undoes the old pass and runs a new one.
    popupOnly.Styler->SetXPControls(TXPControls{xcMainMenu});
    EXPECT_TRUE(popupOnly.MainMenu.OwnerDraw());
    EXPECT_TRUE(DrawnByStyler(bar));
    EXPECT_FALSE(popupOnly.Popup.OwnerDraw());
    EXPECT_FALSE(copy.OnDrawItem);
}

TEST_F(TActivationFixture, ItemsAddedLaterAreStyledWhenASiblingIsDrawn)
{
    Styler->SetActive(true);
    TMenuItem& late = File->Add(L"Late1", L"Late");
    TMenuItem& lateChild = late.Add(L"LateChild1", L"Later");
    TMenuItem& excluded = File->Add(L"Excluded1", L"No");
    excluded.Tag = ExcludeTag;
    EXPECT_FALSE(late.OnDrawItem);
    TBitmap surface(100, 30);
    Styler->DrawMenuItem(*Exit, surface.Canvas(), RECT{0, 0, 100, 20}, false);
    EXPECT_TRUE(DrawnByStyler(late));
    EXPECT_TRUE(MeasuredByStyler(late));
    EXPECT_TRUE(DrawnByStyler(lateChild));
    EXPECT_FALSE(excluded.OnDrawItem);
}

TEST_F(TActivationFixture, DestructionGivesTheMenusBack)
{
    Styler->SetActive(true);
    Styler.reset();
    EXPECT_FALSE(MainMenu.OwnerDraw());
    EXPECT_FALSE(Exit->OnDrawItem);
}

TEST(MenuActivation, ConstructionValues)
{
    TMenuStyler styler(nullptr);
    EXPECT_FALSE(styler.Active());
    EXPECT_EQ(styler.Settings.DimLevel, 30);
    EXPECT_EQ(styler.Settings.GrayLevel, 10);
    EXPECT_EQ(styler.Settings.IconWidth, 24);
    EXPECT_EQ(styler.XPContainers().Mask(), 1023);
    EXPECT_EQ(styler.XPControls().Mask(), 65535);
    EXPECT_EQ(styler.Settings.SelectFontColor, styler.Font().Color);
    EXPECT_EQ(styler.Font().Color, clMenuText);
    EXPECT_EQ(styler.UseSystemColors(), true);
    EXPECT_EQ(styler.MenuBarColor(), clBtnFace);
    styler.SetActive(true); // no form: nothing to walk, nothing to fail
    EXPECT_TRUE(styler.Active());
}

} // namespace
