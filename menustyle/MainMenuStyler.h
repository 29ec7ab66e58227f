#pragma once
// The main window's styled menu bar: the one call the main window makes.
//
//   TMenuStylerAttachment styling(window);   // after SetMenu(window, bar)
//   ...in the window procedure, first:
//   if (LRESULT r; styling.HandleMessage(message, wParam, lParam, r)) return r;
//
// The menu bar may be built with plain Win32 calls: it is adopted with its
// command ids, so WM_COMMAND reaches the window as before.

#include "menustyle/MenuStyler.h"
#include "menustyle/Menus.h"

#include <memory>

namespace vehmira::menustyle {

// The main window's styler values, set in property order so that Active,
// applied last, runs the activation pass with all others in place. The font
// and the icon column are written for 96 DPI and scaled to the window's dpi.
void ApplyMainWindowStylerSettings(TMenuStyler& styler, int dpi = 96);

class TMenuStylerAttachment {
public:
    // Makes `menu` the window's menu bar and styles it for the window's dpi.
    TMenuStylerAttachment(HWND window, TMainMenu& menu, int dpi = 96);
    // Styles the menu bar the window already has.
    explicit TMenuStylerAttachment(HWND window, int dpi = 96);
    TMenuStylerAttachment(const TMenuStylerAttachment&) = delete;
    TMenuStylerAttachment& operator=(const TMenuStylerAttachment&) = delete;

    TMenuStyler& Styler() { return *Styler_; }
    TOwnerForm& Form() { return Form_; }
    // Owner-drawn menu measuring and painting and menu commands; true when the
    // message was handled and `result` holds the answer.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    void Start(HWND window, TMainMenu& menu, int dpi);

    std::unique_ptr<TMainMenu> AdoptedMenu;
    TOwnerForm Form_;
    std::unique_ptr<TMenuStyler> Styler_;
};

} // namespace vehmira::menustyle
