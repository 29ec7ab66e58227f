#include "menustyle/ControlSubClass.h"
#include "menustyle/StylerFixture.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vehmira::menustyle;
using namespace vehmira::win32;

namespace {

struct TPainterFixture : testing::Test {
    TPainterFixture() { Form.Window = Window.Handle(); }
    void Activate()
    {
        Styler = std::make_unique<TMenuStyler>(&Form);
        Styler->SetActive(true);
        RedrawWindow(Window.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages();
    }
    COLORREF PixelOf(HWND control, int x, int y)
    {
        const TWindowDc dc(control);
        return GetPixel(dc.Handle(), x, y);
    }
    // Colours resolved and lightened or darkened on the window's own device.
    COLORREF On(const std::function<TColor(TCanvas&)>& colour)
    {
        const TWindowDc dc(Window.Handle());
        TCanvas canvas(dc.Handle());
        return canvas.Resolve(colour(canvas));
    }
    COLORREF Resolve(TColor color)
    {
        return On([color](TCanvas&) { return color; });
    }
    RECT Client(HWND control)
    {
        RECT client{};
        GetClientRect(control, &client);
        return client;
    }

    TTestWindow Window{320, 240, true};
    TOwnerForm Form;
    std::unique_ptr<TMenuStyler> Styler;
};

TEST_F(TPainterFixture, ComboBoxGetsAFlatButtonWithAHandDrawnArrow)
{
    const HWND combo = Window.AddControl(L"ComboBox", CBS_DROPDOWNLIST, L"", RECT{10, 10, 160, 120});
    Activate();
    const RECT client = Client(combo);
    const int x0 = client.right - 10;
    const int t = client.top;
    const COLORREF black = RGB(0, 0, 0);
    EXPECT_EQ(PixelOf(combo, x0, t + 10), black);
    EXPECT_EQ(PixelOf(combo, x0 + 4, t + 10), black);
    EXPECT_EQ(PixelOf(combo, x0 + 1, t + 11), black);
    EXPECT_EQ(PixelOf(combo, x0 + 2, t + 12), black);
    EXPECT_EQ(PixelOf(combo, x0 + 5, t + 10), Resolve(clBtnFace)); // the end point is not painted
    EXPECT_EQ(PixelOf(combo, x0 + 1, t + 12), Resolve(clBtnFace));
    EXPECT_EQ(PixelOf(combo, 0, 0), Resolve(clBtnFace)); // framed in the parent's colour

    EnableWindow(combo, FALSE);
    PumpMessages();
    EXPECT_EQ(PixelOf(combo, x0 + 2, t + 10), RGB(255, 255, 255));
}

TEST_F(TPainterFixture, GroupBoxFrameIsRedrawnInShadesOfItsColour)
{
    const HWND group = Window.AddControl(L"Button", BS_GROUPBOX, L"Group", RECT{10, 10, 210, 110});
    Activate();
    const RECT client = Client(group);
    TBitmap probe(4, 4);
    probe.Canvas().SetFont(ControlFont(group));
    const int half = probe.Canvas().TextHeight(L"Group") / 2;
    const COLORREF light = On([](TCanvas& c) { return LightenColor(c, clBtnFace, 60); });
    const COLORREF dark = On([](TCanvas& c) { return DarkenColor(c, clBtnFace, 60); });
    EXPECT_EQ(PixelOf(group, 3, half + 1), light);                        // top line left of the caption
    EXPECT_EQ(PixelOf(group, client.right - 3, half + 1), light);         // and right of it
    EXPECT_EQ(PixelOf(group, client.right - 1, client.bottom / 2), dark); // right edge
    EXPECT_EQ(PixelOf(group, client.right / 2, client.bottom - 1), dark); // bottom edge
    EXPECT_EQ(PixelOf(group, 0, client.bottom / 2), light);               // left edge
    EXPECT_EQ(PixelOf(group, 1, client.bottom / 2), Resolve(clBtnFace));  // the old frame wiped
}

TEST_F(TPainterFixture, SunkenPanelGetsALoweredOneColourBevel)
{
    const HWND panel = Window.AddControl(L"Static", SS_SUNKEN, L"", RECT{10, 10, 110, 60});
    Activate();
    const RECT client = Client(panel);
    const COLORREF light = On([](TCanvas& c) { return LightenColor(c, clBtnFace, 60); });
    const COLORREF dark = On([](TCanvas& c) { return DarkenColor(c, clBtnFace, 60); });
    EXPECT_EQ(PixelOf(panel, 0, client.bottom / 2), dark);
    EXPECT_EQ(PixelOf(panel, client.right / 2, 0), dark);
    EXPECT_EQ(PixelOf(panel, client.right - 1, client.bottom / 2), light);
    EXPECT_EQ(PixelOf(panel, client.right / 2, client.bottom - 1), light);
}

TEST_F(TPainterFixture, FlatPushLikeButtonShowsItsDownState)
{
    const HWND toggle =
        Window.AddControl(L"Button", BS_AUTOCHECKBOX | BS_PUSHLIKE | BS_FLAT, L"", RECT{10, 10, 40, 40});
    const HWND raised = Window.AddControl(L"Button", BS_AUTOCHECKBOX | BS_PUSHLIKE, L"", RECT{50, 10, 80, 40});
    SendMessageW(toggle, BM_SETCHECK, BST_CHECKED, 0);
    Activate();
    const RECT client = Client(toggle);
    const TWorkColors& work = Styler->Work();
    const COLORREF edgeLine = On([&](TCanvas& c) { return DarkenColor(c, work.WorkSelectBorderColor, 50); });
    EXPECT_EQ(PixelOf(toggle, client.right / 2, client.bottom / 2), Resolve(work.WorkCheckFillColor));
    EXPECT_EQ(PixelOf(toggle, 0, client.bottom / 2), edgeLine);
    EXPECT_EQ(PixelOf(toggle, client.right - 1, client.bottom / 2),
              On([&](TCanvas& c) { return LightenColor(c, work.WorkSelectBorderColor, 30); }));

    SendMessageW(toggle, BM_SETCHECK, BST_UNCHECKED, 0);
    PumpMessages();
    EXPECT_EQ(PixelOf(toggle, client.right / 2, client.bottom / 2), Resolve(work.WorkIconBackColor));
    EXPECT_EQ(PixelOf(toggle, client.right - 1, client.bottom / 2),
              On([](TCanvas& c) { return DarkenColor(c, clBtnShadow, 50); }));
    // Without BS_FLAT the button is subclassed but keeps its own look.
    EXPECT_NE(Styler->FindSubClass(raised), nullptr);
    EXPECT_NE(PixelOf(raised, 15, 15), Resolve(work.WorkIconBackColor));
}

} // namespace

namespace {

TEST_F(TPainterFixture, AutoDetectStylesControlsAddedLater)
{
    Activate();
    const HWND late = Window.AddControl(L"Button", BS_CHECKBOX, L"Late", RECT{10, 10, 100, 27});
    Styler->ComponentInserted(late);
    EXPECT_EQ(Styler->FindSubClass(late), nullptr); // AutoDetect is off
    Styler->Settings.AutoDetect = true;
    Styler->ComponentInserted(late);
    EXPECT_NE(Styler->FindSubClass(late), nullptr);
}

TEST_F(TPainterFixture, FlatBorderFramesThePopupWindowWithAShadow)
{
    Activate();
    const HWND popup = CreateWindowExW(WS_EX_TOOLWINDOW, L"Static", L"", WS_POPUP | WS_VISIBLE, 400, 300, 120, 90,
                                       nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(popup, nullptr);
    PumpMessages();
    {
        const TWindowDc dc(popup, true);
        TCanvas canvas(dc.Handle());
        Styler->PrepareColors(canvas);
    }
    Styler->DrawFlatBorder(popup, false);
    const TWorkColors& work = Styler->Work();
    const TWindowDc dc(popup, true);
    const auto at = [&](int x, int y) { return GetPixel(dc.Handle(), x, y); };
    EXPECT_EQ(at(0, 40), Resolve(work.WorkFlatBorderColor));
    EXPECT_EQ(at(60, 0), Resolve(work.WorkFlatBorderColor));
    EXPECT_EQ(at(1, 40), Resolve(work.WorkIconBackColor));
    EXPECT_EQ(at(2, 40), Resolve(work.WorkIconBackColor));
    EXPECT_EQ(at(60, 1), Resolve(work.WorkBackColor));
    EXPECT_EQ(at(119, 40), Resolve(work.WorkFlatShadowColor));
    EXPECT_EQ(at(118, 40), Resolve(work.WorkFlatShadowColor));
    EXPECT_EQ(at(60, 89), Resolve(work.WorkFlatShadowColor));
    EXPECT_EQ(at(119, 0), Resolve(clBtnFace)); // where the shadow starts
    EXPECT_EQ(at(0, 89), Resolve(clBtnFace));
    DestroyWindow(popup);
}

} // namespace
