#pragma once
// The main window's styled menu bar: the one call the main window makes.
//
//   TMainMenu Menu(L"Menu");           // items added as usual
//   TMenuStylerAttachment styling(window, Menu);
//   ...in the window procedure, first:
//   if (LRESULT r; styling.HandleMessage(message, wParam, lParam, r)) return r;

#include "menustyle/MenuStyler.h"
#include "menustyle/Menus.h"

#include <memory>

// The main window's styler values, set in property order so that Active,
// applied last, runs the activation pass with all others in place.
void ApplyMainWindowStylerSettings(TMenuStyler& styler);

class TMenuStylerAttachment {
public:
    // Makes `menu` the window's menu bar and styles it.
    TMenuStylerAttachment(HWND window, TMainMenu& menu);
    TMenuStylerAttachment(const TMenuStylerAttachment&) = delete;
    TMenuStylerAttachment& operator=(const TMenuStylerAttachment&) = delete;

    TMenuStyler& Styler() { return *Styler_; }
    TOwnerForm& Form() { return Form_; }
    // Owner-drawn menu measuring and painting and menu commands; true when the
    // message was handled and `result` holds the answer.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    TOwnerForm Form_;
    std::unique_ptr<TMenuStyler> Styler_;
};
