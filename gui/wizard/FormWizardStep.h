#pragma once
// One step of the import wizard's chain of modal dialogs.

#include "gui/framework/Window.h"

namespace vehmira::gui {

// Hides current while next is shown modally and shows current again when next
// returns, also when next fails, so that no hidden dialog is left holding the
// modal loop.
inline void ShowNextWizardStep(framework::TForm& current, framework::TForm& next)
{
    struct TShowAgain {
        HWND Window;
        ~TShowAgain() { ShowWindow(Window, SW_SHOW); }
    };
    ShowWindow(current.Handle(), SW_HIDE);
    const TShowAgain showAgain{current.Handle()};
    next.ShowModal();
}

} // namespace vehmira::gui
