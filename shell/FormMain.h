#pragma once
// The main window: the vehicle list, the export choices, the export and
// import buttons and the menu; it holds the open game (archive and definitions).

#include "archive/IMG.h"
#include "gamedata/VehiclesIde.h"
#include "menustyle/MainMenuStyler.h"
#include "package/GameContext.h"
#include "shell/Window.h"

#include <shellapi.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

class TVehmiraApp;

// Posted when the main window is first shown; runs the start-up sequence.
inline constexpr UINT WM_FORMSHOW = WM_APP + 1;

inline constexpr const wchar_t* NoVehicleSelectedText = L"  Сначало выберите транспортное средство!!";
inline constexpr const char* NoGameOpenText = "Каталог игры не открыт: укажите его в меню «Установки» → «Путь»";
inline constexpr const wchar_t* ExportFilter = L"CAR-Files|*.car|Alle Dateien|*.*";

class TFormMain : public TForm {
public:
    explicit TFormMain(TVehmiraApp& app);

    // Rebuilds List_ID from GamePath and GXTFileName; the list is emptied first,
    // so any failure leaves it empty.
    void RefreshVehicleList();

    // The open game for the engines; Archive is null while no archive is open.
    TGameContext GameContext() const;
    std::filesystem::path GameDirectory() const;
    TIMGFile* ModelArchive() const { return Archive.get(); }
    const TVehicleFile* VehicleDefs() const { return Definitions.get(); }

    // The selected row's ID text, or nothing when no row is selected.
    std::optional<std::wstring> SelectedVehicleID() const;

    void FormShow() override;
    void Beenden1Click();
    void Installationspfad1Click();
    void Sprache1Click();
    void Info1Click();
    void Button_ImportClick();
    void Button_ExportClick();
    // Menu "Отменить импорт" and a file dropped on the window (FormMainImport.cpp).
    void ImportRueckgaengig1Click();
    void FormDropFiles(HDROP drop);
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
    void FormDestroy();
    // Rolls back an interrupted import of the game directory, telling the user.
    void RecoverGameDirectory();
    void OpenModelArchive(const std::filesystem::path& archiveFile);
    void LoadVehicleDefs();

    TVehmiraApp& App;
    // Paints the menu bar and its pop-up menus owner-drawn in the flat style.
    std::unique_ptr<TMenuStylerAttachment> Menu_Styler;
    std::unique_ptr<TIMGFile> Archive;
    std::unique_ptr<TVehicleFile> Definitions;
    bool StartUpPosted = false;
};
