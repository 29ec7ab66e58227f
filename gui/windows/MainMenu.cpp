#include "gui/windows/MainMenu.h"

#include <stdexcept>

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
    AppendMenuW(bar, MF_POPUP,
                reinterpret_cast<UINT_PTR>(CreatePopup({{UndoImportMenu, L"Отменить импорт"},
                                                        {PreviewMenu, L"Просмотр"},
                                                        {CheckArchiveMenu, L"Проверить архив"},
                                                        {RebuildArchiveMenu, L"Перестроить архив"},
                                                        {ExitMenu, L"Выход"}})),
                L"Файл  ");
    AppendMenuW(bar, MF_POPUP,
                reinterpret_cast<UINT_PTR>(CreatePopup({{GamePathMenu, L"Путь"}, {LanguageMenu, L"Язык"}})),
                L"Установки  ");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopup({{AboutMenu, L"О программе"}})), L"Справка  ");
    return bar;
}
