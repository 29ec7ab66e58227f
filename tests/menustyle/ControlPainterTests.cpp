#include "menustyle/ControlSubClass.h"
#include "menustyle/StylerFixture.h"

#include <gtest/gtest.h>

using namespace vehmira::menustyle;
using namespace vehmira::win32;

namespace {

struct TControlFixture : testing::Test {
    TControlFixture()
    {
        Form.Window = Window.Handle();
        Check = Window.AddControl(L"Button", BS_CHECKBOX, L"Check", RECT{10, 10, 130, 27});
        Radio = Window.AddControl(L"Button", BS_RADIOBUTTON, L"Radio", RECT{10, 40, 130, 57});
        Push = Window.AddControl(L"Button", BS_PUSHBUTTON, L"", RECT{150, 10, 250, 35});
        Edit = Window.AddControl(L"Edit", ES_AUTOHSCROLL, L"", RECT{150, 50, 250, 71}, nullptr, WS_EX_CLIENTEDGE);
        Group = Window.AddControl(L"Button", BS_GROUPBOX, L"Group", RECT{10, 80, 250, 180});
        Inner = Window.AddControl(L"Button", BS_CHECKBOX, L"Inner", RECT{10, 20, 100, 37}, Group);
        SendMessageW(Check, BM_SETCHECK, BST_CHECKED, 0);
        SendMessageW(Radio, BM_SETCHECK, BST_CHECKED, 0);
        Styler = std::make_unique<TMenuStyler>(&Form);
        PumpMessages();
    }
    void Activate()
    {
        Styler->SetActive(true);
        RedrawWindow(Window.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        PumpMessages();
    }
    COLORREF PixelOf(HWND control, int x, int y)
    {
        const TWindowDc dc(control);
        return GetPixel(dc.Handle(), x, y);
    }
    COLORREF Resolve(TColor color)
    {
        const TWindowDc dc(Window.Handle());
        TCanvas canvas(dc.Handle());
        return canvas.Resolve(color);
    }
    // The flat box of a check box, as its painter places it.
    RECT CheckBoxSquare(HWND control)
    {
        RECT client{};
        GetClientRect(control, &client);
        const int size = GetSystemMetrics(SM_CXHTHUMB);
        const int top = client.top + 3 + (client.bottom - client.top - 6 - size) / 2;
        return RECT{client.left + 2, top + 2, client.left + size - 1 - 2, top + size - 2};
    }

    TTestWindow Window{300, 200, true};
    TOwnerForm Form;
    std::unique_ptr<TMenuStyler> Styler;
    HWND Check, Radio, Push, Edit, Group, Inner;
};

TEST_F(TControlFixture, OnlyControlsInStyledContainersAreSubclassed)
{
    Styler->SetXPContainers(TXPContainers{});
    Activate();
    for (const HWND control : {Check, Radio, Push, Edit, Group, Inner})
        EXPECT_EQ(Styler->FindSubClass(control), nullptr);

    Styler->SetXPContainers(TXPContainers{xccForm});
    for (const HWND control : {Check, Radio, Push, Edit, Group})
        EXPECT_NE(Styler->FindSubClass(control), nullptr);
    EXPECT_EQ(Styler->FindSubClass(Inner), nullptr); // its parent is a group box

    Styler->SetActive(false);
    PumpMessages(); // each subclass lets go on its next message
    for (const HWND control : {Check, Radio, Push, Edit, Group})
        EXPECT_EQ(Styler->FindSubClass(control), nullptr);
    SetWindowTag(Group, ExcludeTag);
    Styler->SetXPContainers(AllXPContainers);
    Styler->SetActive(true);
    EXPECT_EQ(Styler->FindSubClass(Inner), nullptr); // its parent is excluded
    EXPECT_EQ(Styler->FindSubClass(Group), nullptr); // and so is the group box itself
    EXPECT_NE(Styler->FindSubClass(Check), nullptr);
    SetWindowTag(Group, 0);
}

TEST_F(TControlFixture, CheckBoxIsASquareBoxWithMarkThatFollowsTheSpaceKey)
{
    Activate();
    const RECT box = CheckBoxSquare(Check);
    const TWorkColors& work = Styler->Work();
    EXPECT_EQ(PixelOf(Check, box.left, box.top + 4), Resolve(clBtnShadow));
    EXPECT_EQ(PixelOf(Check, box.right - 2, box.bottom - 2), Resolve(clWindow));
    // The mark's first stroke starts at (left + 2, bottom - 5).
    EXPECT_EQ(PixelOf(Check, box.left + 3, box.bottom - 4), Resolve(clHighlight));

    SendMessageW(Check, WM_KEYDOWN, VK_SPACE, 0);
    PumpMessages();
    EXPECT_EQ(PixelOf(Check, box.right - 2, box.bottom - 2), Resolve(work.WorkCheckFillSelectedColor));
    EXPECT_EQ(PixelOf(Check, box.left + 3, box.bottom - 4), Resolve(clWindow));
    TControlSubClass* subClass = Styler->FindSubClass(Check);
    ASSERT_NE(subClass, nullptr);
    EXPECT_TRUE(subClass->SpaceRepeat);
    SendMessageW(Check, WM_KEYDOWN, VK_SPACE, 0x40000000); // auto-repeat
    EXPECT_TRUE(subClass->SpaceDown);
    SendMessageW(Check, WM_KEYUP, VK_SPACE, 0);
    PumpMessages();
    EXPECT_FALSE(subClass->SpaceDown);
    EXPECT_FALSE(subClass->SpaceRepeat);
    EXPECT_EQ(PixelOf(Check, box.left + 3, box.bottom - 4), Resolve(clHighlight));
}

TEST_F(TControlFixture, RadioButtonIsACircleWithAHighlightDot)
{
    Activate();
    RECT client{};
    GetClientRect(Radio, &client);
    const int size = GetSystemMetrics(SM_CXHTHUMB) - 1;
    const int top = client.top + 4 + (client.bottom - client.top - 8 - size) / 2;
    const int centreX = client.left + (size - 1) / 2;
    const int centreY = top + size / 2;
    EXPECT_EQ(PixelOf(Radio, centreX, centreY), Resolve(clHighlight));
    EXPECT_EQ(PixelOf(Radio, client.left, top), Resolve(clBtnFace)); // corner outside the circle
    SendMessageW(Radio, BM_SETCHECK, BST_UNCHECKED, 0);
    PumpMessages();
    EXPECT_EQ(PixelOf(Radio, centreX, centreY), Resolve(clWindow));
}

TEST_F(TControlFixture, PushButtonIsFlatWithItsEdgeBottomRight)
{
    Activate();
    RECT client{};
    GetClientRect(Push, &client);
    const TWorkColors& work = Styler->Work();
    const COLORREF face = Resolve(work.WorkIconBackColor);
    EXPECT_EQ(PixelOf(Push, 5, client.bottom / 2), face);
    const TWindowDc screen(nullptr);
    TCanvas canvas(screen.Handle());
    EXPECT_EQ(PixelOf(Push, client.right - 1, client.bottom / 2), Resolve(DarkenColor(canvas, clBtnShadow, 50)));
    EXPECT_EQ(PixelOf(Push, 0, 0), Resolve(clBtnFace)); // rounded corner shows the parent
}

TEST_F(TControlFixture, EditLosesItsSunkenEdgeAndGetsItBackWhenStylingEnds)
{
    Activate();
    EXPECT_FALSE(GetWindowLongPtrW(Edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    RedrawWindow(Edit, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    PumpMessages();
    const TColor parent = clBtnFace;
    const TWindowDc screen(nullptr);
    TCanvas canvas(screen.Handle());
    EXPECT_EQ(PixelOf(Edit, 0, 5), Resolve(DarkenColor(canvas, parent, 60)));
    SetFocus(Edit);
    PumpMessages();
    EXPECT_EQ(PixelOf(Edit, 0, 5), Resolve(LightenColor(canvas, clHighlight, 60)));

    Styler->SetActive(false);
    SendMessageW(Edit, WM_NULL, 0, 0); // the next message releases the control
    EXPECT_EQ(Styler->FindSubClass(Edit), nullptr);
    EXPECT_TRUE(GetWindowLongPtrW(Edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
}

TEST_F(TControlFixture, MouseAndClickStateRules)
{
    Activate();
    TControlSubClass* check = Styler->FindSubClass(Check);
    TControlSubClass* push = Styler->FindSubClass(Push);
    ASSERT_NE(check, nullptr);
    ASSERT_NE(push, nullptr);
    EnableWindow(Check, FALSE);
    SendMessageW(Check, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_FALSE(check->Hot);
    EnableWindow(Check, TRUE);
    SendMessageW(Check, WM_MOUSELEAVE, 0, 0);
    SendMessageW(Check, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(check->Hot);
    SendMessageW(Check, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(check->Hot);

    SendMessageW(Push, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_TRUE(push->ButtonDown);
    SendMessageW(Push, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(push->ButtonDown);
}

TEST_F(TControlFixture, DestroyedControlLetsGoOfItsSubclass)
{
    Activate();
    ASSERT_NE(Styler->FindSubClass(Radio), nullptr);
    DestroyWindow(Radio);
    EXPECT_EQ(Styler->FindSubClass(Radio), nullptr);
}

} // namespace
