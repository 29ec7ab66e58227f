#include "gui/windows/FormMain.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "operations/Operations.h"
#include "gui/common/InterfaceTexts.h"
#include "gui/wizard/FormImportTyp.h"
#include "gui/preview/PreviewLaunch.h"
#include "gui/windows/Application.h"
#include "gui/framework/ErrorBox.h"
#include "gui/common/VehicleListBehaviour.h"
#include "gui/common/VehicleListView.h"
#include "gui/windows/FormAbout.h"
#include "gui/windows/FormHistory.h"
#include "gui/windows/FormLanguage.h"
#include "gui/windows/FormPath.h"
#include "gui/windows/MainMenu.h"
#include "gui/common/FormTexts.h"
#include "gui/framework/WideText.h"

#include <commctrl.h>

#include <array>
#include <clocale>
#include <locale>
#include <memory>
#include <type_traits>

namespace vehmira::gui {

// The control tables below name a kind on every line.
using framework::TControlKind;

namespace {

const framework::TFormLayout MainFormSpec{
    .Caption = L"",
    .Width = 526,
    .Height = 320,
    .Border = framework::TBorderKind::Sizeable,
    .SystemMenu = true,
    .MinimizeBox = true,
    .MaximizeBox = true,
    .HasMenu = true,
};

// In tab order, as the layout reads: the list on the left, then on the right
// the export choices from the top down, then the commands.
const std::array<framework::TControlLayout, 13> MainControls{{
    {TControlKind::GroupBox, "Group_Cars", "", 24, 16, 313, 281, L""},
    {TControlKind::ListView, "List_ID", "Group_Cars", 24, 32, 265, 197, L""},
    // Why the list is empty, and how to try again; empty while a game is open.
    {TControlKind::Label, "Label_ListStatus", "Group_Cars", 24, 233, 265, 41, L""},
    {TControlKind::GroupBox, "Group_Export", "", 344, 16, 161, 161, L""},
    {TControlKind::CheckBox, "Check_DFF", "Group_Export", 32, 32, 73, 17, L""},
    {TControlKind::CheckBox, "Check_TXD", "Group_Export", 32, 48, 73, 17, L""},
    {TControlKind::CheckBox, "Check_GXT", "Group_Export", 32, 64, 97, 17, L""},
    {TControlKind::CheckBox, "Check_Handling", "Group_Export", 32, 88, 97, 17, L"Handling.cfg"},
    {TControlKind::CheckBox, "Check_Vehicles", "Group_Export", 32, 104, 97, 17, L"Vehicles.ide"},
    {TControlKind::CheckBox, "Check_Carcols", "Group_Export", 32, 120, 97, 17, L"Carcols.dat"},
    {TControlKind::GroupBox, "Group_Commands", "", 344, 184, 161, 113, L""},
    {TControlKind::Button, "Button_Export", "Group_Commands", 24, 32, 113, 25, L""},
    {TControlKind::Button, "Button_Import", "Group_Commands", 24, 64, 113, 25, L""},
}};

const std::array<TControlText, 8> MainTexts{{
    {"Group_Export", TTextKey::ExportGroup},
    {"Check_DFF", TTextKey::DffFile},
    {"Check_TXD", TTextKey::TxdFile},
    {"Check_GXT", TTextKey::GxtFile},
    {"Group_Commands", TTextKey::ActionGroup},
    {"Button_Export", TTextKey::ExportButton},
    {"Button_Import", TTextKey::ImportButton},
    {"Group_Cars", TTextKey::VehiclesGroup},
}};

} // namespace

TFormMain::TFormMain(TVehmiraApp& app) : framework::TForm(MainFormSpec, MainControls, nullptr), App(app)
{
    for (const char* name : {"Check_DFF", "Check_TXD", "Check_GXT"})
        SendMessageW(Control(name), BM_SETCHECK, BST_CHECKED, 0);
    SetUpVehicleListView(Control("List_ID"), Dpi());
    AddVehicleListTypeAhead(Control("List_ID"));
    ApplyInterfaceTexts();
    OnLaidOut();
    DragAcceptFiles(Handle(), TRUE);
    FormCreate();
}

void TFormMain::ApplyInterfaceTexts()
{
    // The styled menu keeps its own copy of the captions, so a new bar in the
    // current language is built and styled in place of the old one.
    Menu_Styler.reset();
    HMENU oldBar = GetMenu(Handle());
    SetMenu(Handle(), CreateMainMenu());
    if (oldBar)
        DestroyMenu(oldBar);
    Menu_Styler = std::make_unique<menustyle::TMenuStylerAttachment>(Handle(), Dpi());
    // Styling the bar lays it out at once, while Menu_Styler is still being
    // assigned and cannot answer the measuring; lay it out again now that it can.
    DrawMenuBar(Handle());
    SetVehicleListColumnTitles(Control("List_ID"));
    ApplyFormTexts(*this, TTextKey::MainCaption, MainTexts);
    ShowGameState(ListStatus);
}

// Numbers are formatted and parsed with "." whatever the user's locale says.
void TFormMain::FormCreate()
{
    std::setlocale(LC_NUMERIC, "C");
    std::locale::global(std::locale::classic());
}

void TFormMain::FormDestroy()
{
    Session.reset();
}

void TFormMain::OnDestroy()
{
    Menu_Styler.reset();
    FormDestroy();
    PostQuitMessage(0);
}

std::optional<LRESULT> TFormMain::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LRESULT result = 0; Menu_Styler && Menu_Styler->HandleMessage(message, wParam, lParam, result))
        return result;
    if (message == WM_SHOWWINDOW && wParam && !StartUpPosted) {
        // The start-up runs once the window is on screen, from the message loop.
        StartUpPosted = true;
        PostMessageW(Handle(), WM_FORMSHOW, 0, 0);
    } else if (message == WM_FORMSHOW) {
        FormShow();
        return 0;
    } else if (message == WM_NOTIFY && reinterpret_cast<const NMHDR*>(lParam)->hwndFrom == Control("List_ID")) {
        VehicleListNotify(*reinterpret_cast<const NMHDR*>(lParam));
    } else if (message == WM_DROPFILES) {
        FormDropFiles(reinterpret_cast<HDROP>(wParam));
        return 0;
    } else if (message == WM_SIZE && wParam != SIZE_MINIMIZED && Handle()) {
        LayOutForClientSize(LOWORD(lParam), HIWORD(lParam));
    } else if (message == WM_GETMINMAXINFO) {
        LimitToLaidOutSize(*reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    } else if (message == WM_CLOSE) {
        // Closing the main window ends the program, like "Выход".
        ExitMenuClick();
        return 0;
    }
    return std::nullopt;
}

void TFormMain::OnCommand(int id, int notifyCode)
{
    if (id == ExitMenu)
        ExitMenuClick();
    else if (id == GamePathMenu)
        GamePathMenuClick();
    else if (id == LanguageMenu)
        LanguageMenuClick();
    else if (id == AboutMenu)
        AboutMenuClick();
    else if (id == UndoImportMenu)
        UndoImportMenuClick();
    else if (id == PreviewMenu)
        PreviewMenuClick();
    else if (id == CheckArchiveMenu)
        CheckArchiveMenuClick();
    else if (id == RebuildArchiveMenu)
        RebuildArchiveMenuClick();
    else if (id == RefreshMenu)
        RefreshMenuClick();
    else if (id == HistoryMenu)
        HistoryMenuClick();
    else if (id == ExportVehicleMenu)
        ExportButtonClick();
    else if (id == ImportOverVehicleMenu)
        ImportButtonClick();
    else if (notifyCode == BN_CLICKED && id == ControlId("Button_Export"))
        ExportButtonClick();
    else if (notifyCode == BN_CLICKED && id == ControlId("Button_Import"))
        ImportButtonClick();
}

std::filesystem::path TFormMain::GameDirectory() const
{
    return std::filesystem::path(App.FormPath->GamePath);
}

operations::TGameLocation TFormMain::GameLocation() const
{
    return operations::TGameLocation{GameDirectory(), framework::Utf8(App.FormLanguage->GXTFileName)};
}

void TFormMain::FormShow()
{
    TFormLanguage& language = *App.FormLanguage;
    if (language.LanguageName == L"NONE" || language.GXTFileName == L"NONE") {
        language.LanguageName = L"English";
        language.ShowModal();
    }
    std::filesystem::path archiveFile = fileio::ResolveGamePath(GameDirectory(), fileio::GameFiles::ModelArchive);
    if (!fileio::FileExists(archiveFile)) {
        App.FormPath->ShowModal();
        archiveFile = fileio::ResolveGamePath(GameDirectory(), fileio::GameFiles::ModelArchive);
    }
    if (!fileio::FileExists(archiveFile)) {
        ShowGameState(TTextKey::ListStatusNoGame);
        return; // the user sets the directory later from the menu
    }
    OpenGameAndFillList();
}

// Until both succeed the list says why it is empty, and the commands that
// need a game stay off; a failure still reaches the user in its own box.
void TFormMain::OpenGameAndFillList()
{
    struct TShowState {
        TFormMain& Form;
        std::optional<TTextKey> Status = TTextKey::ListStatusNotOpened;
        ~TShowState() { Form.ShowGameState(Status); }
    } state{*this};
    OpenGameDirectory();
    RefreshVehicleList();
    state.Status.reset();
}

// F5 refreshes, a column's title sorts, a double click previews, a right
// click offers what can be done with the vehicle.
void TFormMain::VehicleListNotify(const NMHDR& notification)
{
    HWND list = Control("List_ID");
    if (notification.code == LVN_KEYDOWN && reinterpret_cast<const NMLVKEYDOWN&>(notification).wVKey == VK_F5)
        RefreshMenuClick();
    else if (notification.code == LVN_COLUMNCLICK)
        SortVehicleListByColumn(list, reinterpret_cast<const NMLISTVIEW&>(notification).iSubItem);
    else if (notification.code == NM_DBLCLK && reinterpret_cast<const NMITEMACTIVATE&>(notification).iItem >= 0)
        PreviewMenuClick();
    else if (notification.code == NM_RCLICK && reinterpret_cast<const NMITEMACTIVATE&>(notification).iItem >= 0)
        ShowVehicleContextMenu();
}

void TFormMain::ShowVehicleContextMenu()
{
    const std::unique_ptr<std::remove_pointer_t<HMENU>, decltype(&DestroyMenu)> menu(CreateVehicleContextMenu(),
                                                                                    &DestroyMenu);
    POINT at{};
    GetCursorPos(&at);
    const int command = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
    if (command != 0)
        OnCommand(command, 0);
}

void TFormMain::ShowGameState(std::optional<TTextKey> status)
{
    ListStatus = status;
    SetControlText("Label_ListStatus", status ? InterfaceText(*status) : std::wstring());
    EnableWindow(Control("Button_Import"), Session != nullptr);
    EnableWindow(Control("Button_Export"), Session != nullptr);
}

void TFormMain::RefreshMenuClick()
{
    Session.reset();
    ListView_DeleteAllItems(Control("List_ID"));
    if (App.FormPath->GamePath == L"NONE") {
        ShowGameState(TTextKey::ListStatusNoGame);
        return;
    }
    OpenGameAndFillList();
}

namespace {
// Start-up and "Путь" tell the user in a plain box about imports that a crash
// interrupted and that opening the game rolled back.
class TWindowObserver : public operations::TOperationObserver {
public:
    explicit TWindowObserver(HWND owner) : Owner(owner) {}

    void InterruptedImportsRestored(const std::vector<std::string>& restored) override
    {
        std::wstring text = InterfaceText(TTextKey::InterruptedImportsRestored);
        for (const std::string& line : restored)
            text += L"\n" + framework::Wide(line);
        framework::ShowPlainMessage(Owner, text);
    }

private:
    HWND Owner;
};
} // namespace

void TFormMain::OpenGameDirectory()
{
    TWindowObserver observer(Handle());
    Session = std::make_unique<operations::TGameSession>(GameLocation(), observer);
    OfferRebuildOfMisreadArchive();
}

void TFormMain::HistoryMenuClick()
{
    if (!Session)
        throw fileio::TVehmiraError(InterfaceTextUtf8(TTextKey::NoGameOpen));
    TWindowObserver observer(Handle());
    ShowImportHistory(Handle(), operations::ReadImportHistory(GameLocation(), observer));
}

void TFormMain::RefreshVehicleList()
{
    HWND list = Control("List_ID");
    ListView_DeleteAllItems(list);
    const std::vector<engine::TVehicleListRow> rows =
        engine::BuildVehicleList(GameDirectory(), framework::Utf8(App.FormLanguage->GXTFileName)).Rows;
    for (const engine::TVehicleListRow& row : rows)
        AddVehicleListRow(list, framework::WideFromGameText(row.ID),
                          row.NameFromModel ? InterfaceText(TTextKey::NameFromModel, {framework::WideFromGameText(row.Model)})
                                            : framework::WideFromGameText(row.Name),
                          framework::WideFromGameText(row.Model));
    SortVehicleListAsBefore(list);
}

void TFormMain::ExitMenuClick()
{
    DestroyWindow(Handle());
}

void TFormMain::GamePathMenuClick()
{
    App.FormPath->ShowModal();
    // Cancel too re-opens the game from the current directory. The old game's
    // list goes first, so that it never stays on screen under another path.
    Session.reset();
    ListView_DeleteAllItems(Control("List_ID"));
    if (App.FormPath->GamePath == L"NONE") {
        ShowGameState(TTextKey::ListStatusNoGame);
        return; // nothing accepted yet: the user sets the directory later, as at start-up
    }
    // A folder that lost the game's files since is named with what it lacks.
    ShowGameState(TTextKey::ListStatusNotOpened);
    App.FormPath->RequireGameFiles(App.FormPath->GamePath);
    OpenGameAndFillList();
}

void TFormMain::LanguageMenuClick()
{
    App.FormLanguage->ShowModal();
}

void TFormMain::AboutMenuClick()
{
    App.FormAbout->ShowModal();
}

void TFormMain::ImportButtonClick()
{
    App.FormImportTyp->ShowModal();
    RefreshVehicleList();
    ReloadVehicleDefs();
}

framework::TFileDialogs& TFormMain::FileDialogs() const
{
    return *App.Environment.FileDialogs;
}

void TFormMain::PreviewMenuClick()
{
    const std::optional<std::wstring> idText = SelectedVehicleID();
    if (!idText) {
        framework::ShowPlainMessage(Handle(), InterfaceText(TTextKey::NoVehicleSelected));
        return;
    }
    std::int32_t id = 0;
    if (!gamedata::ParseVehicleID(framework::Utf8(*idText), id)) {
        framework::ShowPlainMessage(Handle(), InterfaceText(TTextKey::NotAnInteger, {*idText}) + L".");
        return;
    }
    ShowGameVehiclePreview(Handle(), Session.get(), id);
}

std::optional<std::wstring> TFormMain::SelectedVehicleID() const
{
    HWND list = Control("List_ID");
    const int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    if (row < 0)
        return std::nullopt;
    return VehicleListText(list, row, 0);
}

} // namespace vehmira::gui
