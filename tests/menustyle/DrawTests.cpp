#include "menustyle/StylerFixture.h"

#include <gtest/gtest.h>

using namespace vehmira::menustyle;

namespace {

// A popup item drawn at (0, 0, 150, 22): the styler paints down to row 22, the
// icon column is x 0..23, the text rectangle starts at x 24.
constexpr RECT PopupItemRect{0, 0, 150, 22};
constexpr COLORREF Red = RGB(200, 0, 0);

struct TDrawFixture : testing::Test, TStylerFixture {
    TDrawFixture()
    {
        Styler->SetActive(true);
        Item = &Popup.Items().Add(L"Item1", L"Item");
    }
    TBitmap& Draw(TMenuItem& item, bool selected, RECT rect = PopupItemRect)
    {
        Surface.Fill(Sentinel);
        Styler->DrawMenuItem(item, Surface.Canvas(), rect, selected);
        return Surface;
    }
    COLORREF Work(TColor color) { return Surface.Canvas().Resolve(color); }
    TMenuItem* Item;
    TBitmap Surface{200, 40};
};

TEST_F(TDrawFixture, PlainItemPaintsBackgroundAndIconColumnDownToTheExtraRow)
{
    Draw(*Item, false);
    const TWorkColors& work = Styler->Work();
    EXPECT_TRUE(work.IsHighColor);
    EXPECT_EQ(Surface.Pixel(3, 1), Work(work.WorkIconBackColor));
    EXPECT_EQ(Surface.Pixel(23, 22), Work(work.WorkIconBackColor));
    EXPECT_EQ(Surface.Pixel(24, 1), Work(work.WorkBackColor));
    EXPECT_EQ(Surface.Pixel(149, 22), Work(work.WorkBackColor));
    EXPECT_EQ(Surface.Pixel(150, 5), Sentinel);
    EXPECT_EQ(Surface.Pixel(5, 23), Sentinel);
    EXPECT_TRUE(AnyPixelIs(Surface, RECT{24, 0, 150, 23}, Work(Styler->Font().Color))) << "caption";
}

TEST_F(TDrawFixture, SelectedItemGetsFilledAndFramedBar)
{
    Draw(*Item, true);
    const TWorkColors& work = Styler->Work();
    const COLORREF frame = Work(work.WorkSelectBorderColor);
    const COLORREF fill = Work(work.WorkSelectColor);
    ASSERT_NE(frame, fill);
    const struct {
        int X, Y;
        COLORREF Expected;
    } pixels[] = {{0, 1, frame}, {0, 21, frame}, {75, 1, frame}, {75, 21, frame}, {149, 10, frame},
                  {3, 5, fill},  {148, 20, fill}, {75, 0, Work(work.WorkBackColor)},
                  {75, 22, Work(work.WorkBackColor)}};
    for (const auto& p : pixels)
        EXPECT_EQ(Surface.Pixel(p.X, p.Y), p.Expected) << p.X << "," << p.Y;

    Styler->Settings.FlatMenu = true; // the bar ends a pixel earlier
    Draw(*Item, true);
    EXPECT_EQ(Surface.Pixel(148, 10), frame);
    EXPECT_EQ(Surface.Pixel(149, 10), Work(work.WorkBackColor));
}

TEST_F(TDrawFixture, DisabledSelectedItemHasNoBarAndDisabledText)
{
    Item->SetEnabled(false);
    Draw(*Item, true);
    const TWorkColors& work = Styler->Work();
    EXPECT_EQ(Surface.Pixel(0, 1), Work(work.WorkIconBackColor));
    EXPECT_EQ(Surface.Pixel(75, 1), Work(work.WorkBackColor));
    EXPECT_TRUE(AnyPixelIs(Surface, RECT{24, 0, 150, 23}, Work(work.WorkDisabledColor)));
    EXPECT_FALSE(AnyPixelIs(Surface, RECT{24, 0, 150, 23}, Work(Styler->Font().Color)));
}

TEST_F(TDrawFixture, SeparatorIsOneLineAtTheMiddleOfItsTextRectangle)
{
    TMenuItem& separator = Popup.Items().Add(L"N1", L"-");
    // Rows 0..22: the middle is 0 + Round(23 / 2) = 12 (half to even).
    Draw(separator, false);
    const COLORREF line = Work(Styler->Work().WorkSeparatorColor);
    const COLORREF back = Work(Styler->Work().WorkBackColor);
    EXPECT_EQ(Surface.Pixel(30, 12), back);
    EXPECT_EQ(Surface.Pixel(31, 12), line);
    EXPECT_EQ(Surface.Pixel(149, 12), line);
    EXPECT_EQ(Surface.Pixel(80, 11), back);
    EXPECT_EQ(Surface.Pixel(80, 13), back);
    // Right to left: the icon column is on the right, the line stops 7 short.
    Popup.SetRightToLeft(true);
    Draw(separator, false);
    EXPECT_EQ(Surface.Pixel(0, 12), line);
    EXPECT_EQ(Surface.Pixel(118, 12), line);
    EXPECT_EQ(Surface.Pixel(119, 12), back);
    EXPECT_EQ(Surface.Pixel(140, 12), Work(Styler->Work().WorkIconBackColor));
}

TEST_F(TDrawFixture, CheckedItemWithoutIconShowsBoxAndMarkWithOvershoot)
{
    Item->SetChecked(true);
    const TWorkColors& work = Styler->Work();
    // Box (7, 6)-(17, 16) centred in the 24 x 23 icon column.
    for (const bool selected : {false, true}) {
        Draw(*Item, selected);
        SCOPED_TRACE(selected ? "selected" : "not selected");
        const COLORREF fill = Work(selected ? work.WorkCheckFillSelectedColor : work.WorkCheckFillColor);
        EXPECT_EQ(Surface.Pixel(7, 10), Work(work.WorkCheckedColor));
        EXPECT_EQ(Surface.Pixel(16, 14), Work(work.WorkCheckedColor));
        EXPECT_EQ(Surface.Pixel(12, 6), Work(work.WorkCheckedColor));
        EXPECT_EQ(Surface.Pixel(9, 7), fill);
        for (const POINT stroke : {POINT{8, 11}, POINT{11, 14}, POINT{9, 11}, POINT{12, 12}, POINT{17, 7}, POINT{18, 6}})
            EXPECT_EQ(Surface.Pixel(stroke.x, stroke.y), RGB(0, 0, 0)) << stroke.x << "," << stroke.y;
        EXPECT_NE(Surface.Pixel(19, 5), RGB(0, 0, 0)); // the end point is not painted
    }
    Item->SetEnabled(false);
    Draw(*Item, false);
    EXPECT_EQ(Surface.Pixel(18, 6), Work(work.WorkDisabledColor));
    EXPECT_EQ(Surface.Pixel(9, 7), Work(work.WorkIconBackColor)); // brush of the background
}

TEST_F(TDrawFixture, CheckedRadioItemShowsFilledCircleUncheckedShowsNothing)
{
    Item->SetRadioItem(true);
    Draw(*Item, false);
    const TWorkColors& work = Styler->Work();
    EXPECT_EQ(Surface.Pixel(12, 10), Work(work.WorkIconBackColor));
    Item->SetChecked(true);
    Draw(*Item, false);
    EXPECT_EQ(Surface.Pixel(12, 10), Work(work.WorkCheckFillColor));
    EXPECT_EQ(Surface.Pixel(12, 6), Work(work.WorkSelectBorderColor));
    EXPECT_EQ(Surface.Pixel(7, 6), Work(work.WorkIconBackColor)); // outside the circle
}

TEST_F(TDrawFixture, IconIsDimmedAtRestAndRaisedWithShadowWhenSelected)
{
    Item->Bitmap = SolidGlyph(8, Red);
    const TWorkColors& work = Styler->Work();
    // At rest: (24 - 8) div 2 - 1 = 7 across, 3 down, lightened by DimLevel.
    Draw(*Item, false);
    EXPECT_EQ(Surface.Pixel(7, 3), Work(LightenColor(Surface.Canvas(), Red, 30)));
    EXPECT_EQ(Surface.Pixel(14, 9), Work(LightenColor(Surface.Canvas(), Red, 30)));
    EXPECT_EQ(Surface.Pixel(7, 10), Work(work.WorkIconBackColor)); // transparent corner
    // Selected: one up and left, full colour; silhouette 2 down and right.
    Draw(*Item, true);
    const COLORREF shadow = Work(DarkenColor(Surface.Canvas(), work.WorkSelectColor, 50));
    EXPECT_EQ(Surface.Pixel(6, 2), Red);
    EXPECT_EQ(Surface.Pixel(13, 8), Red);
    EXPECT_EQ(Surface.Pixel(15, 11), shadow);
    EXPECT_EQ(Surface.Pixel(14, 4), shadow);
    EXPECT_EQ(Surface.Pixel(8, 11), Work(work.WorkSelectColor)); // no shadow under the transparent corner
    EXPECT_EQ(Surface.Pixel(6, 9), Work(work.WorkSelectColor));
    // Disabled: grey, then lightened by 40.
    Item->SetEnabled(false);
    Draw(*Item, false);
    const TColor grey = LightenColor(Surface.Canvas(), GrayColor(Surface.Canvas(), Red, 10), 40);
    EXPECT_EQ(Surface.Pixel(7, 3), Work(grey));
}

TEST_F(TDrawFixture, ImageListImageIsUsedAndChecksAreBoxedAroundIt)
{
    TImageList images(16, 16);
    images.Add(SolidGlyph(16, Red));
    Popup.Images = &images;
    Item->ImageIndex = 0;
    Item->SetChecked(true);
    Draw(*Item, false);
    // Checked: not dimmed, drawn at (24 - 16) div 2 - 1 = 3 across, 3 down,
    // over a box (1, 2)-(21, 21) framed in the selection border colour.
    EXPECT_EQ(Surface.Pixel(3, 3), Red);
    EXPECT_EQ(Surface.Pixel(1, 10), Work(Styler->Work().WorkSelectBorderColor));
    EXPECT_EQ(Surface.Pixel(20, 10), Work(Styler->Work().WorkSelectBorderColor));
    EXPECT_EQ(Surface.Pixel(19, 19), Work(Styler->Work().WorkCheckFillColor));
}

TEST_F(TDrawFixture, DefaultItemCaptionHasDarkerPassesBehindIt)
{
    const RECT text{24, 0, 150, 23};
    Draw(*Item, false);
    const COLORREF back = Work(Styler->Work().WorkBackColor);
    const COLORREF darkest = Work(DarkenColor(Surface.Canvas(), back, 60));
    const COLORREF darker = Work(DarkenColor(Surface.Canvas(), back, 40));
    EXPECT_FALSE(AnyPixelIs(Surface, text, darkest));
    Item->SetDefault(true);
    Draw(*Item, false);
    EXPECT_TRUE(AnyPixelIs(Surface, text, darkest));
    EXPECT_TRUE(AnyPixelIs(Surface, text, darker));
    EXPECT_TRUE(AnyPixelIs(Surface, text, Work(Styler->Font().Color)));
}

TEST_F(TDrawFixture, GradientRisesByThreeInTheIconZoneThenByOneUpTo96)
{
    Styler->Settings.Gradient = true;
    Draw(*Item, false);
    const TColor base = Styler->Work().WorkIconBackColor;
    const struct {
        int X, Shade;
    } columns[] = {{0, 1}, {1, 4}, {2, 7}, {28, 85}, {29, 86}, {30, 87}, {39, 96}, {120, 96}, {152, 96}};
    for (const auto& c : columns)
        EXPECT_EQ(Surface.Pixel(c.X, 1), Work(LightenColor(Surface.Canvas(), base, c.Shade))) << c.X;
    EXPECT_EQ(Surface.Pixel(153, 1), Sentinel); // R.R - R.L + 1 columns of R widened by 2
}

} // namespace
