#pragma once
// The interface language: the texts of one section of the language file, each
// key the section lacks (or the whole file, when it is missing or unreadable)
// falling back to the built-in Russian text.

#include "gui/common/TextKeys.h"

#include <windows.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::gui {

// The built-in Russian language, the first in the language file.
inline constexpr const wchar_t* RussianLanguageName = L"Русский";
inline constexpr const wchar_t* EnglishLanguageName = L"English";

class TLanguage {
public:
    // The built-in Russian texts.
    TLanguage();
    // The section `name` of the language file; keys written there replace the
    // built-in texts. Values may be quoted (to keep blanks at their ends) and
    // may hold \r, \n and \\ for a line break and a backslash.
    static TLanguage Load(const std::filesystem::path& languageFile, std::wstring_view name);

    const std::wstring& Text(TTextKey key) const { return Texts[static_cast<std::size_t>(key)]; }

private:
    std::vector<std::wstring> Texts;
};

// The key's name as the language file writes it ("MainCaption").
std::wstring_view TextKeyName(TTextKey key);
// The built-in Russian text of a key.
std::wstring_view RussianText(TTextKey key);
// Every key, in table order.
std::vector<TTextKey> AllTextKeys();

// The language the windows show; Russian until one is chosen.
const TLanguage& CurrentLanguage();
void SetCurrentLanguage(TLanguage language);

// The key's text in the current language, with %1..%9 replaced by the values.
const std::wstring& InterfaceText(TTextKey key);
std::wstring InterfaceText(TTextKey key, std::initializer_list<std::wstring_view> values);
// A menu's or menu item's caption as a sentence names it: without its
// mnemonic mark and spacing blanks ("&Файл  " is "Файл").
std::wstring MenuItemCaption(TTextKey key);
// The same as UTF-8, for messages that travel as an error's text.
std::string InterfaceTextUtf8(TTextKey key, std::initializer_list<std::wstring_view> values = {});

// The language offered first to a user who has chosen none: Russian for a
// Windows interface in Russian or another language written in Cyrillic,
// otherwise English.
std::wstring LanguageForUiLanguage(LANGID uiLanguage);

} // namespace vehmira::gui
