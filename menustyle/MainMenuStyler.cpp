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

bool TMenuStylerAttachment::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return DispatchMenuMessage(Form_.Window, message, wParam, lParam, result);
}

} // namespace vehmira::menustyle
