#pragma once
// The main window: the vehicle list, the export choices, the export and
// import buttons and the menu; it holds the open game (archive and definitions).

#include "gamedata/VehiclesIde.h"
#include "menustyle/MainMenuStyler.h"
#include "engine/Export.h"
#include "engine/GameContext.h"
#include "operations/GameSession.h"
#include "gui/common/TextKeys.h"
#include "gui/framework/Window.h"
#include "gui/wizard/ImportWizardHost.h"

#include <shellapi.h>

#include <filesystem>
#include <memory>
#include <array>
#include <optional>
#include <string_view>
#include <string>
#include <vector>

namespace vehmira::gui {

class TVehmiraApp;

// Posted when the main window is first shown; runs the start-up sequence.
inline constexpr UINT WM_FORMSHOW = WM_APP + 1;

// It is the import wizard's host: the wizard gets the open game and the list from it.
class TFormMain : public framework::TForm, public TImportWizardHost {
public:
    explicit TFormMain(TVehmiraApp& app);

    // Rebuilds List_ID from GamePath and GXTFileName; the list is emptied first,
    // so any failure leaves it empty.
    void RefreshVehicleList();

    std::filesystem::path GameDirectory() const;
    operations::TGameLocation GameLocation() const;
    const gamedata::TVehicleFile* VehicleDefs() const { return Session ? &Session->Definitions() : nullptr; }
    // The open game, or nothing while no game directory is open.
    operations::TGameSession* OpenGame() const override { return Session.get(); }
    HWND WizardOwner() const override { return Handle(); }
    HWND VehicleList() const override { return Control("List_ID"); }
    framework::TFileDialogs& FileDialogs() const override;

    // The selected row's ID text, or nothing when no row is selected.
    std::optional<std::wstring> SelectedVehicleID() const;

    void FormShow() override;
    void ApplyInterfaceTexts() override;
    void ExitMenuClick();
    void GamePathMenuClick();
    void LanguageMenuClick();
    void AboutMenuClick();
    void ImportButtonClick();
    // "Экспорт" (FormMainExport.cpp): the ticked pieces of the selected vehicle,
    // into a file named after its model, asking before one is replaced.
    void ExportButtonClick();
    // Menu "Отменить импорт" and a file dropped on the window (FormMainImport.cpp).
    void UndoImportMenuClick();
    // "История импортов...": every import of the game and whether it can still be undone.
    void HistoryMenuClick();
    // Menu "Проверить архив" and "Перестроить архив" (FormMainArchive.cpp).
    void CheckArchiveMenuClick();
    void RebuildArchiveMenuClick();
    void FormDropFiles(HDROP drop);
    // F5 and "Обновить список": opens the game again and refills the list, as at start-up.
    void RefreshMenuClick();
    // Menu "Просмотр": the selected vehicle's textures and model.
    void PreviewMenuClick();
    // Reads Data\Vehicles.ide again after an import or an undo changed it, so
    // that an export takes the lines now in the game; without an open game it
    // does nothing, and a failed reading keeps the definitions held before.
    void ReloadVehicleDefs();

protected:
    void OnCommand(int id, int notifyCode) override;
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

private:
    void FormCreate();
    engine::TExportChoices ExportChoices() const;
    void FormDestroy();
    // Rolls back an interrupted import of the game directory (telling the
    // user), opens its archive and reads its vehicle definitions.
    void OpenGameDirectory();
    void OpenGameAndFillList();
    void VehicleListNotify(const NMHDR& notification);
    // FormMainLayout.cpp: the controls for a new size of the window, from where
    // the layout put them; the window never smaller than that layout.
    void OnLaidOut() override;
    void LayOutForClientSize(int width, int height);
    void LimitToLaidOutSize(MINMAXINFO& limits) const;
    enum class TGain { Keep, Move, Grow };
    struct TAnchor {
        std::string_view Name;
        TGain Horizontal, Vertical;
    };
    static const std::array<TAnchor, 13> Anchors;
    SIZE LaidOutClient{};
    std::array<RECT, 13> LaidOutBounds{};
    void ShowVehicleContextMenu();
    // The list's status line (empty while a game is open) and the commands that need an open game.
    void ShowGameState(std::optional<TTextKey> status);
    // When the archive just opened has neighbours the game reads wrongly (left
    // by another tool), says so once per archive and offers the rebuild.
    void OfferRebuildOfMisreadArchive();
    // Rebuilds the open archive with a progress window; tells the outcome.
    void RebuildArchiveWithProgress();

    TVehmiraApp& App;
    // Paints the menu bar and its pop-up menus owner-drawn in the flat style.
    std::unique_ptr<menustyle::TMenuStylerAttachment> Menu_Styler;
    std::unique_ptr<operations::TGameSession> Session;
    // Archives the user was told about at opening, so they are told once.
    std::vector<std::filesystem::path> MisreadArchivesTold;
    bool StartUpPosted = false;
    std::optional<TTextKey> ListStatus = TTextKey::ListStatusNoGame;
};

} // namespace vehmira::gui
