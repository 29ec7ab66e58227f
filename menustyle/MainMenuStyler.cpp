#include "menustyle/MainMenuStyler.h"

namespace vehmira::menustyle {

void ApplyMainWindowStylerSettings(TMenuStyler& styler, int dpi)
{
    constexpr int WrittenDpi = 96;
    TMenuStylerSettings& settings = styler.Settings;
    settings.DimLevel = 30;
    settings.GrayLevel = 10;
    TFont font;
    font.Charset = DEFAULT_CHARSET;
    font.Color = clMenuText;
    font.Height = -MulDiv(11, dpi, WrittenDpi);
    font.Name = L"Tahoma";
    styler.SetFont(font);
    settings.Color = clBtnFace;
    settings.DrawMenuBar = false;
    settings.IconBackColor = clBtnFace;
    styler.SetMenuBarColor(clBtnFace);
    settings.SelectColor = clHighlight;
    settings.SelectBorderColor = clHighlight;
    settings.SelectFontColor = clMenuText;
    settings.DisabledColor = clInactiveCaption;
    settings.SeparatorColor = clBtnFace;
    settings.CheckedColor = clHighlight;
    settings.IconWidth = MulDiv(24, dpi, WrittenDpi);
    settings.DrawSelect = true;
    styler.SetUseSystemColors(true);
    settings.UseDimColor = false;
    settings.OverrideOwnerDraw = false;
    settings.Gradient = false;
    settings.FlatMenu = false;
    settings.AutoDetect = false;
    styler.SetXPContainers(TXPContainers{});
    styler.SetXPControls(TXPControls{xcMainMenu, xcPopupMenu});
    styler.SetActive(true);
}

TMenuStylerAttachment::TMenuStylerAttachment(HWND window, TMainMenu& menu, int dpi)
{
    menu.AttachTo(window);
    Start(window, menu, dpi);
}

TMenuStylerAttachment::TMenuStylerAttachment(HWND window, int dpi)
    : AdoptedMenu(TMainMenu::AdoptWindowMenu(L"Menu", window))
{
    Form_.Window = window;
    if (AdoptedMenu)
        Start(window, *AdoptedMenu, dpi);
    else
        Styler_ = std::make_unique<TMenuStyler>(&Form_);
}

void TMenuStylerAttachment::Start(HWND window, TMainMenu& menu, int dpi)
{
    Form_.Window = window;
    Form_.MainMenu = &menu;
    Form_.Menus.push_back(&menu);
    Styler_ = std::make_unique<TMenuStyler>(&Form_);
    ApplyMainWindowStylerSettings(*Styler_, dpi);
    Styler_->Loaded();
}

namespace {

// The bar beyond its last item in the items' colour: the system paints it in
// its own menu colour whatever the menu's background says.
void PaintBarBeyondItems(HWND window)
{
    HMENU bar = GetMenu(window);
    const int count = bar ? GetMenuItemCount(bar) : 0;
    MENUBARINFO barInfo{};
    barInfo.cbSize = sizeof(barInfo);
    RECT last{};
    if (count <= 0 || !GetMenuBarInfo(window, OBJID_MENU, 0, &barInfo) ||
        !GetMenuItemRect(window, bar, UINT(count - 1), &last))
        return;
    RECT outer{};
    GetWindowRect(window, &outer);
    RECT beyond{last.right, barInfo.rcBar.top, barInfo.rcBar.right, barInfo.rcBar.bottom};
    OffsetRect(&beyond, -outer.left, -outer.top);
    if (beyond.right <= beyond.left)
        return;
    HDC windowDc = GetWindowDC(window);
    FillRect(windowDc, &beyond, GetSysColorBrush(COLOR_BTNFACE));
    ReleaseDC(window, windowDc);
}

} // namespace

bool TMenuStylerAttachment::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_NCPAINT || message == WM_NCACTIVATE) {
        result = DefWindowProcW(Form_.Window, message, wParam, lParam);
        PaintBarBeyondItems(Form_.Window);
        return true;
    }
    return DispatchMenuMessage(Form_.Window, message, wParam, lParam, result);
}

} // namespace vehmira::menustyle
