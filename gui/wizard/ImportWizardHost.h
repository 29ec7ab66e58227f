#pragma once
// What the import wizard needs from the window that opens it. The main window
// implements it and passes itself in, so that the wizard reaches into no
// window above it: the owner of its dialogs, the open game, the vehicle list
// it offers as targets, and the file dialogs.

#include "gui/framework/FileDialogs.h"
#include "operations/GameSession.h"

#include <windows.h>

namespace vehmira::gui {

class TFormImportTyp;
class TFormCarFiles;
class TForm_ImportEnde;

class TImportWizardHost {
public:
    // The window that owns the wizard's dialogs.
    virtual HWND WizardOwner() const = 0;
    // The open game, or nothing while no game directory is open.
    virtual operations::TGameSession* OpenGame() const = 0;
    // The list view whose rows the replace dialog offers as targets.
    virtual HWND VehicleList() const = 0;
    virtual framework::TFileDialogs& FileDialogs() const = 0;

protected:
    ~TImportWizardHost() = default;
};

// The wizard's three steps, which lead to one another; set once all three exist.
struct TImportWizardSteps {
    TFormImportTyp* Kind = nullptr;
    TFormCarFiles* Files = nullptr;
    TForm_ImportEnde* Replace = nullptr;
};

} // namespace vehmira::gui
