#include "menustyle/StylerFixture.h"

#include <gtest/gtest.h>

using namespace vehmira::menustyle;

namespace {

struct TMeasureFixture : testing::Test, TStylerFixture {
    TMeasureFixture()
    {
        Styler->SetActive(true);
        Canvas = std::make_unique<TBitmap>(4, 4);
        Canvas->Canvas().SetFont(Styler->Font());
    }
    int Width(std::wstring_view text) { return Canvas->Canvas().TextWidth(text); }
    int Height(std::wstring_view text) { return Canvas->Canvas().TextHeight(text); }
    SIZE Measure(TMenuItem& item, int width = 0, int height = 0)
    {
        Styler->MeasureMenuItem(item, Canvas->Canvas(), width, height);
        return SIZE{width, height};
    }
    std::unique_ptr<TBitmap> Canvas;
};

TEST_F(TMeasureFixture, PopupItemWidthAndHeightFollowTheCaptionAndShortcut)
{
    TMenuItem& file = Popup.Items().Add(L"File1", L"File");
    TMenuItem& open = Popup.Items().Add(L"Open1", L"Open");
    open.SetShortCut(scCtrl | 'O');
    TMenuItem& accel = Popup.Items().Add(L"Save1", L"&Save");
    TMenuItem& doubled = Popup.Items().Add(L"Both1", L"A&&B");
    const int textHeight = Height(L"File");
    ASSERT_GT(textHeight, 8);
    const int expectedHeight = textHeight + RoundHalfEven(0.75 * textHeight);
    struct TCase {
        TMenuItem* Item;
        int Width;
    } cases[] = {
        {&file, Width(L"File") + 5 + 24},
        {&open, Width(L"OpenCtrl+OWWW") + 5 + 24},
        {&accel, Width(L"&Save") - Width(L"&") + 5 + 24},
        {&doubled, Width(L"A&&B") - Width(L"&") + 5 + 24},
    };
    for (const auto& c : cases) {
        const SIZE size = Measure(*c.Item);
        EXPECT_EQ(size.cx, c.Width) << std::string(c.Item->Caption().begin(), c.Item->Caption().end());
        EXPECT_EQ(size.cy, expectedHeight);
    }
}

TEST_F(TMeasureFixture, SizesAreOnlyRaisedExceptASeparatorsHeight)
{
    TMenuItem& item = Popup.Items().Add(L"Item1", L"Item");
    TMenuItem& separator = Popup.Items().Add(L"N1", L"-");
    EXPECT_EQ(Measure(item, 500, 90).cx, 500);
    EXPECT_EQ(Measure(item, 500, 90).cy, 90);
    for (const int proposed : {0, 3, 30}) {
        const SIZE size = Measure(separator, 0, proposed);
        EXPECT_EQ(size.cy, 4) << proposed;
        EXPECT_EQ(size.cx, 5 + 24); // no text, the icon column only
    }
}

TEST_F(TMeasureFixture, ABlankShortcutTextAddsNothing)
{
    TMenuItem& item = Popup.Items().Add(L"Item1", L"Item");
    item.SetShortCut(scCtrl | 0xE8); // a key without a name
    EXPECT_EQ(Measure(item).cx, Width(L"Item") + 5 + 24);
}

TEST_F(TMeasureFixture, MenuBarItemsHaveNoIconMinimumAndEightExtraPixels)
{
    TMenuItem& bar = MainMenu.Items().Add(L"Datei1", L"File  ");
    TMenuItem& below = bar.Add(L"ExitMenu", L"Exit");
    EXPECT_EQ(Measure(bar).cx, Width(L"File  ") + 5 + 8);
    EXPECT_EQ(Measure(below).cx, Width(L"Exit") + 5 + 24);
}

TEST_F(TMeasureFixture, ImagesWidenTheItemAndSetAMinimumHeight)
{
    TImageList images(32, 30);
    images.Add(SolidGlyph(32, RGB(200, 0, 0)));
    Popup.Images = &images;
    TMenuItem& withImage = Popup.Items().Add(L"Image1", L"Pic");
    withImage.ImageIndex = 0;
    TMenuItem& badIndex = Popup.Items().Add(L"Image2", L"Pic");
    badIndex.ImageIndex = 7;
    badIndex.Bitmap = SolidGlyph(40, RGB(0, 0, 200)); // not consulted: an image was asked for
    TMenuItem& noIndex = Popup.Items().Add(L"Image3", L"Pic");
    noIndex.Bitmap = SolidGlyph(40, RGB(0, 0, 200));
    EXPECT_EQ(Measure(withImage).cx, Width(L"Pic") + 5 + 32);
    EXPECT_EQ(Measure(withImage).cy, 36);
    EXPECT_EQ(Measure(badIndex).cx, Width(L"Pic") + 5 + 24);
    EXPECT_EQ(Measure(noIndex).cx, Width(L"Pic") + 5 + 40);
    EXPECT_EQ(Measure(noIndex).cy, 46);
}

TEST_F(TMeasureFixture, NothingIsMeasuredWhileInactive)
{
    TMenuItem& item = Popup.Items().Add(L"Item1", L"Item");
    Styler->SetActive(false);
    EXPECT_EQ(Measure(item, 7, 9).cx, 7);
    EXPECT_EQ(Measure(item, 7, 9).cy, 9);
}

TEST_F(TMeasureFixture, OwnerDrawnMenuIsMeasuredThroughTheWindow)
{
    TMenuItem& bar = MainMenu.Items().Add(L"Datei1", L"File  ");
    TMenuItem& exit = bar.Add(L"ExitMenu", L"Exit");
    Styler->ActivateAll(true, true);
    MEASUREITEMSTRUCT measure{};
    measure.CtlType = ODT_MENU;
    measure.itemData = reinterpret_cast<ULONG_PTR>(&exit);
    SendMessageW(Window.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&measure));
    EXPECT_EQ(static_cast<int>(measure.itemWidth), Width(L"Exit") + 5 + 24);
    // A pointer that names no live item is not followed.
    MEASUREITEMSTRUCT stray{};
    stray.CtlType = ODT_MENU;
    stray.itemData = 0x12345678;
    SendMessageW(Window.Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&stray));
    EXPECT_EQ(stray.itemWidth, 0u);
}

} // namespace
