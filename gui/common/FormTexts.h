#pragma once
// A form's translatable texts: which control shows which key.

#include "gui/framework/Window.h"
#include "gui/common/Language.h"

#include <span>
#include <string_view>

namespace vehmira::gui {

struct TControlText {
    std::string_view Control;
    TTextKey Key;
};

// Sets the form's caption and its controls' texts in the current language and
// lays the form out again, so that every text fits.
inline void ApplyFormTexts(framework::TForm& form, TTextKey caption, std::span<const TControlText> controls)
{
    SetWindowTextW(form.Handle(), InterfaceText(caption).c_str());
    for (const TControlText& control : controls)
        form.SetControlText(control.Control, InterfaceText(control.Key));
    form.LayOut();
}

} // namespace vehmira::gui
