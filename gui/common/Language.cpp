#include "gui/common/Language.h"

#include "gui/framework/WideText.h"

#include <array>
#include <utility>

namespace vehmira::gui {

namespace {

struct TBuiltInText {
    std::wstring_view Key;
    std::wstring_view Russian;
};

constexpr std::array BuiltInTexts{
#define VEHMIRA_TEXT_ENTRY(key, russian) TBuiltInText{L## #key, russian},
    VEHMIRA_INTERFACE_TEXTS(VEHMIRA_TEXT_ENTRY)
#undef VEHMIRA_TEXT_ENTRY
};

// Stands for a missing key: no text of any language is this.
constexpr const wchar_t* MissingKey = L"\x1\x2missing\x2\x1";
constexpr DWORD ValueCapacity = 4096;

std::wstring Unescape(std::wstring_view value)
{
    std::wstring text;
    text.reserve(value.size());
    for (std::size_t i = 0; i < value.size(); ++i) {
        const wchar_t next = i + 1 < value.size() ? value[i + 1] : L'\0';
        // \t too: a menu item's shortcut stands after a tab.
        if (value[i] == L'\\' && (next == L'r' || next == L'n' || next == L't' || next == L'\\')) {
            text += next == L'r' ? L'\r' : next == L'n' ? L'\n' : next == L't' ? L'\t' : L'\\';
            ++i;
        } else {
            text += value[i];
        }
    }
    return text;
}

TLanguage& Current()
{
    static TLanguage language;
    return language;
}

} // namespace

TLanguage::TLanguage()
{
    for (const TBuiltInText& text : BuiltInTexts)
        Texts.emplace_back(text.Russian);
}

TLanguage TLanguage::Load(const std::filesystem::path& languageFile, std::wstring_view name)
{
    TLanguage language;
    std::error_code error;
    if (name.empty() || !std::filesystem::is_regular_file(languageFile, error))
        return language;
    const std::wstring section(name);
    std::wstring value(ValueCapacity, L'\0');
    for (std::size_t i = 0; i < BuiltInTexts.size(); ++i) {
        const std::wstring key(BuiltInTexts[i].Key);
        // The system's reading drops a value's blanks and its enclosing quotes.
        const DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), MissingKey, value.data(),
                                                      ValueCapacity, languageFile.c_str());
        const std::wstring_view read(value.data(), length);
        if (read != MissingKey)
            language.Texts[i] = Unescape(read);
    }
    return language;
}

std::wstring_view TextKeyName(TTextKey key)
{
    return BuiltInTexts.at(static_cast<std::size_t>(key)).Key;
}

std::wstring_view RussianText(TTextKey key)
{
    return BuiltInTexts.at(static_cast<std::size_t>(key)).Russian;
}

std::vector<TTextKey> AllTextKeys()
{
    std::vector<TTextKey> keys;
    for (std::size_t i = 0; i < BuiltInTexts.size(); ++i)
        keys.push_back(static_cast<TTextKey>(i));
    return keys;
}

const TLanguage& CurrentLanguage()
{
    return Current();
}

void SetCurrentLanguage(TLanguage language)
{
    Current() = std::move(language);
}

const std::wstring& InterfaceText(TTextKey key)
{
    return Current().Text(key);
}

std::wstring MenuItemCaption(TTextKey key)
{
    std::wstring caption;
    for (const wchar_t c : InterfaceText(key))
        if (c != L'&')
            caption += c;
    const std::size_t first = caption.find_first_not_of(L' ');
    const std::size_t last = caption.find_last_not_of(L' ');
    return first == std::wstring::npos ? std::wstring() : caption.substr(first, last - first + 1);
}

std::wstring InterfaceText(TTextKey key, std::initializer_list<std::wstring_view> values)
{
    const std::wstring& pattern = Current().Text(key);
    std::wstring text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t next = i + 1 < pattern.size() ? pattern[i + 1] : L'\0';
        const std::size_t index = static_cast<std::size_t>(next - L'1');
        if (pattern[i] == L'%' && next >= L'1' && next <= L'9' && index < values.size()) {
            text += *(values.begin() + index);
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

std::string InterfaceTextUtf8(TTextKey key, std::initializer_list<std::wstring_view> values)
{
    return framework::Utf8(InterfaceText(key, values));
}

std::wstring LanguageForUiLanguage(LANGID uiLanguage)
{
    switch (PRIMARYLANGID(uiLanguage)) {
    case LANG_RUSSIAN:
    case LANG_UKRAINIAN:
    case LANG_BELARUSIAN:
    case LANG_BULGARIAN:
    case LANG_MACEDONIAN:
    case LANG_KAZAK:
    case LANG_KYRGYZ:
    case LANG_TATAR:
    case LANG_MONGOLIAN:
    case LANG_BASHKIR:
    case LANG_TAJIK:
    case LANG_SAKHA:
        return RussianLanguageName;
    case LANG_SERBIAN: // also LANG_BOSNIAN and LANG_CROATIAN: told apart by the sublanguage
        switch (SUBLANGID(uiLanguage)) {
        case SUBLANG_SERBIAN_CYRILLIC:
        case SUBLANG_SERBIAN_BOSNIA_HERZEGOVINA_CYRILLIC:
        case SUBLANG_SERBIAN_MONTENEGRO_CYRILLIC:
        case SUBLANG_SERBIAN_SERBIA_CYRILLIC:
        case SUBLANG_BOSNIAN_BOSNIA_HERZEGOVINA_CYRILLIC:
            return RussianLanguageName;
        default:
            return EnglishLanguageName;
        }
    case LANG_AZERI:
        return SUBLANGID(uiLanguage) == SUBLANG_AZERI_CYRILLIC ? RussianLanguageName : EnglishLanguageName;
    case LANG_UZBEK:
        return SUBLANGID(uiLanguage) == SUBLANG_UZBEK_CYRILLIC ? RussianLanguageName : EnglishLanguageName;
    default:
        return EnglishLanguageName;
    }
}

} // namespace vehmira::gui
