#include "gui/windows/MainMenu.h"

#include "gui/common/Language.h"

#include <stdexcept>

namespace vehmira::gui {

namespace {

struct TMenuItemSpec {
    int Command;
    const wchar_t* Caption;
};

HMENU CreatePopup(std::initializer_list<TMenuItemSpec> items)
{
    HMENU popup = CreatePopupMenu();
    for (const TMenuItemSpec& item : items)
        AppendMenuW(popup, MF_STRING, static_cast<UINT_PTR>(item.Command), item.Caption);
    return popup;
}

} // namespace

HMENU CreateMainMenu()
{
    HMENU bar = CreateMenu();
    if (!bar)
        throw std::runtime_error("the main menu cannot be created");
    // The bar's captions carry two trailing blanks as spacing.
    // Captions in the current interface language (gui/common/TextKeys.h).
    const auto text = [](TTextKey key) { return InterfaceText(key).c_str(); };
    AppendMenuW(bar, MF_POPUP,
                reinterpret_cast<UINT_PTR>(CreatePopup({{UndoImportMenu, text(TTextKey::UndoImportMenuItem)},
                                                        {HistoryMenu, text(TTextKey::HistoryMenuItem)},
                                                        {PreviewMenu, text(TTextKey::PreviewMenuItem)},
                                                        {CheckArchiveMenu, text(TTextKey::CheckArchiveMenuItem)},
                                                        {RebuildArchiveMenu, text(TTextKey::RebuildArchiveMenuItem)},
                                                        {RefreshMenu, text(TTextKey::RefreshMenuItem)},
                                                        {ExitMenu, text(TTextKey::ExitMenuItem)}})),
                text(TTextKey::FileMenu));
    AppendMenuW(bar, MF_POPUP,
                reinterpret_cast<UINT_PTR>(CreatePopup({{GamePathMenu, text(TTextKey::PathMenuItem)},
                                                        {LanguageMenu, text(TTextKey::LanguageMenuItem)}})),
                text(TTextKey::SettingsMenu));
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopup({{AboutMenu, text(TTextKey::AboutMenuItem)}})),
                text(TTextKey::HelpMenu));
    return bar;
}

HMENU CreateVehicleContextMenu()
{
    const auto text = [](TTextKey key) { return InterfaceText(key).c_str(); };
    HMENU popup = CreatePopup({{ExportVehicleMenu, text(TTextKey::ExportVehicleMenuItem)},
                               {ImportOverVehicleMenu, text(TTextKey::ImportOverVehicleMenuItem)},
                               {PreviewMenu, text(TTextKey::PreviewMenuItem)}});
    if (!popup)
        throw std::runtime_error("the vehicle's menu cannot be created");
    return popup;
}

} // namespace vehmira::gui
