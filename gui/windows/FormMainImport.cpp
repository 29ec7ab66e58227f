// The main window's ways into the import beside the "Импорт" button: taking
// the last import back from the menu, and a package dropped on the window.

#include "fileio/Errors.h"
#include "fileio/GamePaths.h"
#include "gui/wizard/FormImportEnde.h"
#include "operations/Operations.h"
#include "gui/common/InterfaceTexts.h"
#include "gui/common/Language.h"
#include "gui/windows/Application.h"
#include "gui/framework/ErrorBox.h"
#include "gui/windows/FormMain.h"
#include "gui/framework/WideText.h"

#include <shellapi.h>

#include <cwctype>
#include <filesystem>
#include <vector>

namespace vehmira::gui {

namespace {

std::wstring UndoQuestion(const engine::TJournalInfo& import)
{
    return InterfaceText(TTextKey::UndoQuestion,
                         {framework::Wide(import.Target), ImportSourceText(import.Source), framework::Wide(import.Time)});
}

// Releases the system's drop handle whatever the handler does.
class TDropHandle {
public:
    explicit TDropHandle(HDROP drop) : Drop(drop) {}
    TDropHandle(const TDropHandle&) = delete;
    TDropHandle& operator=(const TDropHandle&) = delete;
    ~TDropHandle() { DragFinish(Drop); }

    std::vector<std::filesystem::path> Files() const
    {
        std::vector<std::filesystem::path> files;
        const UINT count = DragQueryFileW(Drop, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            std::wstring name(static_cast<std::size_t>(DragQueryFileW(Drop, i, nullptr, 0)) + 1, L'\0');
            name.resize(DragQueryFileW(Drop, i, name.data(), static_cast<UINT>(name.size())));
            files.emplace_back(name);
        }
        return files;
    }

private:
    HDROP Drop;
};

bool IsPackageFile(const std::filesystem::path& file)
{
    std::wstring extension = file.extension().wstring();
    for (wchar_t& c : extension)
        c = static_cast<wchar_t>(std::towlower(c));
    return extension == L".car";
}

} // namespace

void TFormMain::UndoImportMenuClick()
{
    if (!Session)
        throw fileio::TVehmiraError(InterfaceTextUtf8(TTextKey::NoGameOpen));
    const std::optional<engine::TJournalInfo> last = engine::LastUndoableImport(GameDirectory());
    if (!last) {
        framework::ShowPlainMessage(Handle(), InterfaceText(TTextKey::NothingToUndo));
        return;
    }
    const std::wstring question = UndoQuestion(*last);
    if (MessageBoxW(Handle(), question.c_str(), framework::ApplicationTitle, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    // A refusal (files changed since the import) is a typed error that says
    // itself, once, in the interface's words; nothing was changed.
    operations::UndoImport(*Session);
    RefreshVehicleList();
    framework::ShowPlainMessage(Handle(), InterfaceText(TTextKey::UndoDone));
}

// A single ".car" package dropped on the window goes straight to the choice of
// the vehicle it replaces; the list is refilled afterwards whatever happened.
void TFormMain::FormDropFiles(HDROP drop)
{
    const std::vector<std::filesystem::path> files = TDropHandle(drop).Files();
    // While a dialog is up the main window is disabled and takes no drop.
    if (!IsWindowEnabled(Handle()))
        return;
    if (files.size() != 1 || !IsPackageFile(files.front())) {
        framework::ShowPlainMessage(Handle(), InterfaceText(TTextKey::DropOnlyOnePackage));
        return;
    }
    App.Form_ImportEnde->ShowModalForPackage(files.front());
    RefreshVehicleList();
    ReloadVehicleDefs();
}

void TFormMain::ReloadVehicleDefs()
{
    if (Session)
        Session->ReloadDefinitions();
}

} // namespace vehmira::gui
