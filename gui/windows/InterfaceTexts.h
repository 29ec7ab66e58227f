#pragma once
// The window's fixed texts that more than one window shows, and the words for
// the core's errors. The game's own texts never pass through here.

#include "archive/ArchiveLayout.h"
#include "fileio/Errors.h"

#include <optional>
#include <string>

inline constexpr const wchar_t* CarFileFilter = L"CAR-Files|*.car|Alle Dateien|*.*";
inline constexpr const wchar_t* NoVehicleSelectedText = L"  Сначало выберите транспортное средство!!";
inline constexpr const char* NoGameOpenText = "Каталог игры не открыт: укажите его в меню «Установки» → «Путь»";
inline constexpr const char* ImportSucceededText = "  Импортирование успешно завершено!!!  ";
inline constexpr const char* ImportFailedText = "  Ошибка при импортировании!";
inline constexpr const char* GXTFileErrorText = "GXT-File Error!!!";
inline constexpr const wchar_t* RebuildQuestionText =
    L"Перестроить архив Models\\GTA3.img? Данные всех записей будут записаны подряд в порядке каталога; "
    L"старый архив заменяется только после проверки нового.";
inline constexpr const wchar_t* RebuildProgressCaption = L"Перестройка архива";
inline constexpr const wchar_t* CancelCaption = L"Отмена";
inline constexpr const wchar_t* RebuildDoneText = L"Архив перестроен: игра прочитает все записи верно.";
inline constexpr const wchar_t* RebuildCancelledText = L"Перестройка отменена, архив не изменён.";

// The fixed message a kind of error is shown with, in a plain box, in place of
// the error box with the error's description; nothing for the other kinds.
std::optional<std::string> FixedMessageFor(const TVehmiraError& error);

// The figures of the archive check, and what they mean for the game.
std::string ArchiveCheckText(const TArchiveLayout& layout);
// The question at opening when the game would read the archive wrongly.
std::string MisreadArchiveQuestion(const TArchiveLayout& layout);

// What a failed import says before the general failure text: its cause in the
// window's words, or nothing when the cause has none of its own (the failure
// text then stands alone).
std::optional<std::string> ImportFailureMessage(const TVehmiraError& cause);
