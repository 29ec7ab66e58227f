#pragma once
// For the import tests through the real dialogs: the wizard's windows, the
// user's steps through them, packages and input files made in code, and the
// game directory that the same import through the core engine leaves, to
// compare with byte for byte.

#include "gui/GuiFixture.h"
#include "engine/Import.h"

#include <map>

namespace vehmira::gui {
class TFormImportTyp;
class TFormCarFiles;
class TForm_ImportEnde;
} // namespace vehmira::gui

using TGameFiles = std::map<std::string, vehmira::fileio::ByteBuffer>;

class TImportGuiTest : public TGuiTest {
protected:
    // The default fixture game, settings naming it, the program started.
    void SetUp() override;

    vehmira::gui::TFormImportTyp& ImportTyp() const;
    vehmira::gui::TFormCarFiles& CarFiles() const;
    vehmira::gui::TForm_ImportEnde& ImportEnde() const;

    // "Импорт" in the main window while steps act.
    std::vector<std::string> RunWizard(const std::function<void(TUser&)>& steps);
    // The first dialog: picks the package or the separate-files kind and presses "Далее >>".
    void ChooseKind(TUser& user, bool package) const;
    // The separate-files dialog: types the fields given (by control name) and presses "Далее >>".
    void FillCarFiles(TUser& user, const std::vector<std::pair<const char*, std::wstring>>& fields) const;
    // The replace dialog: selects the row (none when negative) and presses
    // "Импорт", and answers yes when the import asks about the check's errors.
    void ReplaceRow(TUser& user, int row) const;
    // The texts of the next count message boxes, each answered with OK.
    static std::vector<std::wstring> Boxes(TUser& user, std::size_t count);
    // Waits until no wizard window is on screen and the main window takes input again.
    void WaitWizardClosed() const;

    // Every file of the game directory, the archive too while the program holds it open.
    TGameFiles GameFiles() const;
    // A package of the vehicle with that ID, exported by the core from a
    // default fixture game of its own, with every piece.
    std::filesystem::path ExportedPackage(std::int32_t id, std::string_view fileName);
    // The game files after the core imports source over the vehicle with that
    // ID in a fresh default fixture game.
    static TGameFiles ReferenceImport(std::int32_t targetId, const vehmira::engine::TImportSource& source);
};

// Equal file sets; a difference is reported by file name, not by the bytes.
testing::AssertionResult SameFiles(const TGameFiles& actual, const TGameFiles& expected);

// Reading and answering a message box with the button of that id (IDYES, IDNO, IDOK).
TMessageBoxSeen AnswerBoxWith(TUser& user, int buttonId);
// A mouse click on a control that is not a button (a clickable label).
void ClickControl(HWND control);
void SelectListRow(HWND list, int row);
int SelectedListRow(HWND list);
// The memory block the system hands over with WM_DROPFILES: DROPFILES, then
// the wide file names, each ended by a zero, and a final zero.
HGLOBAL MakeDropHandle(const std::vector<std::wstring>& files);
// Polls until condition holds; fails the step after a while.
void WaitUntil(const std::function<bool()>& condition, const std::string& what);
