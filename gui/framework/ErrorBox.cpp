#include "gui/framework/ErrorBox.h"

#include "fileio/Errors.h"
#include "gui/framework/WideText.h"

#include <exception>

namespace vehmira::gui::framework {

std::wstring ErrorBoxText(std::wstring_view text)
{
    std::wstring result(text);
    if (!result.empty() && result.back() > L'.')
        result += L'.';
    return result;
}

void ShowPlainMessage(HWND owner, std::wstring_view text)
{
    const std::wstring message(text);
    MessageBoxW(owner, message.c_str(), ApplicationTitle, MB_OK);
}

namespace {

TErrorTextRule FixedMessage;
TErrorTextRule Wording;
std::function<std::wstring()> UnknownErrorText;

void ShowErrorMessage(HWND owner, std::wstring_view text)
{
    const std::wstring message = ErrorBoxText(text);
    MessageBoxW(owner, message.c_str(), ApplicationTitle, MB_OK | MB_ICONERROR);
}

} // namespace

void SetFixedMessageRule(TErrorTextRule rule)
{
    FixedMessage = std::move(rule);
}

void SetWordingRule(TErrorTextRule rule)
{
    Wording = std::move(rule);
}

void SetUnknownErrorText(std::function<std::wstring()> text)
{
    UnknownErrorText = std::move(text);
}

void PresentCurrentException(HWND owner) noexcept
{
    try {
        try {
            throw;
        } catch (const fileio::TVehmiraError& error) {
            if (const std::optional<std::string> fixed = FixedMessage ? FixedMessage(error) : std::nullopt)
                ShowPlainMessage(owner, Wide(*fixed));
            else if (const std::optional<std::string> worded = Wording ? Wording(error) : std::nullopt)
                ShowErrorMessage(owner, Wide(*worded));
            else
                ShowErrorMessage(owner, Wide(error.what()));
        } catch (const std::exception& error) {
            ShowErrorMessage(owner, Wide(error.what()));
        } catch (...) {
            ShowErrorMessage(owner, UnknownErrorText ? UnknownErrorText() : L"Неизвестная ошибка");
        }
    } catch (...) {
        // Presenting failed (out of memory): nothing more can be shown.
    }
}

} // namespace vehmira::gui::framework
