#pragma once
// The import history window ("Файл" → "История импортов..."): every journaled
// import of the game, newest first, with whether it can still be undone.
// Created for one showing and shown modally over its owner.

#include "gui/framework/Window.h"
#include "operations/Operations.h"

namespace vehmira::gui {

class TFormHistory : public framework::TForm {
public:
    TFormHistory(HWND owner, const operations::TImportHistory& history);
    void CloseButtonClick();

protected:
    void OnCommand(int id, int notifyCode) override;
};

// Shows the history over owner and returns when the user closes it.
void ShowImportHistory(HWND owner, const operations::TImportHistory& history);

} // namespace vehmira::gui
