#include "gui/wizard/FormImportEnde.h"

#include "fileio/Errors.h"
#include "operations/Operations.h"
#include "gui/windows/InterfaceTexts.h"
#include "gui/wizard/FormCarFiles.h"
#include "gui/wizard/FormImportTyp.h"
#include "gui/wizard/ImportCheckText.h"
#include "gui/windows/Application.h"
#include "gui/framework/ErrorBox.h"
#include "gui/windows/VehicleListView.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormTexts.h"
#include "gui/framework/WideText.h"

#include <commctrl.h>

#include <array>

namespace vehmira::gui {

// The control tables below name a kind on every line.
using framework::TControlKind;

namespace {

const framework::TFormLayout TForm_ImportEndeSpec{
    .Caption = L"",
    .Width = 298,
    .Height = 463,
    .Border = framework::TBorderKind::Dialog,
    .SystemMenu = true,
};

const std::array<framework::TControlLayout, 7> ImportEndeControls{{
    {TControlKind::Label, "QuestionLabel", "", 37, 16, 161, 31, L""},
    {TControlKind::GroupBox, "VehiclesGroup", "", 32, 56, 233, 265, L""},
    {TControlKind::ListView, "TargetList", "VehiclesGroup", 24, 32, 185, 209, L""},
    // The check's verdict for the selected target, filled in when a row is chosen.
    {TControlKind::Label, "CheckLabel", "", 32, 328, 233, 77, L""},
    {TControlKind::Button, "CancelButton", "", 32, 420, 113, 25, L""},
    {TControlKind::Button, "ReplaceButton", "", 152, 420, 113, 25, L""},
    // In the free corner beside the question, aligned with the list's right edge.
    {TControlKind::Button, "PreviewButton", "", 200, 19, 65, 25, L""},
}};

const std::array<TControlText, 5> ImportEndeTexts{{
    {"QuestionLabel", TTextKey::ReplaceQuestion},
    {"VehiclesGroup", TTextKey::VehiclesGroup},
    {"CancelButton", TTextKey::CancelButton},
    {"ReplaceButton", TTextKey::ImportButton},
    {"PreviewButton", TTextKey::PreviewButton},
}};

// A refusal the user is told about before the general failure message.
class TImportRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace

TForm_ImportEnde::TForm_ImportEnde(TVehmiraApp& app)
    : framework::TForm(TForm_ImportEndeSpec, ImportEndeControls, app.FormMain->Handle()), App(app)
{
    SetUpVehicleListView(Control("TargetList"), Dpi());
    ApplyInterfaceTexts();
}

void TForm_ImportEnde::ApplyInterfaceTexts()
{
    SetVehicleListColumnTitles(Control("TargetList"));
    ApplyFormTexts(*this, TTextKey::ImportCaption, ImportEndeTexts);
}

void TForm_ImportEnde::ShowModalForPackage(const std::filesystem::path& package)
{
    struct TForgetPackage {
        std::optional<std::filesystem::path>& Package;
        ~TForgetPackage() { Package.reset(); }
    };
    DroppedPackage = package;
    const TForgetPackage forget{DroppedPackage};
    ShowModal();
}

void TForm_ImportEnde::FormShow()
{
    CopyVehicleListRows(App.FormMain->Control("List_ID"), Control("TargetList"));
    ShowCheckVerdict();
}

std::optional<LRESULT> TForm_ImportEnde::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if (change->hdr.hwndFrom == Control("TargetList") && change->hdr.code == LVN_ITEMCHANGED &&
            ((change->uNewState ^ change->uOldState) & LVIS_SELECTED) != 0)
            ShowCheckVerdict();
    }
    return framework::TForm::OnMessage(message, wParam, lParam);
}

// The check for the selected target; nothing while no row is selected.
void TForm_ImportEnde::ShowCheckVerdict()
{
    std::wstring verdict;
    operations::TGameSession* session = App.FormMain->OpenGame();
    try {
        if (session != nullptr && ListView_GetNextItem(Control("TargetList"), -1, LVNI_SELECTED) >= 0) {
            const engine::TImportSource source = ChosenSource();
            verdict = CheckVerdictText(
                operations::CheckImportOverVehicle(*session, TargetVehicleID(*session), source));
        }
    } catch (const fileio::TVehmiraError& error) {
        verdict = InterfaceText(TTextKey::CheckNotRun, {framework::Wide(ImportFailureMessage(error).value_or(error.what()))});
    } catch (const std::exception& error) {
        verdict = InterfaceText(TTextKey::CheckNotRun, {framework::Wide(error.what())});
    }
    SetControlText("CheckLabel", verdict);
}

void TForm_ImportEnde::OnCommand(int id, int notifyCode)
{
    if (notifyCode != BN_CLICKED)
        return;
    if (id == ControlId("CancelButton"))
        CancelButtonClick();
    else if (id == ControlId("ReplaceButton"))
        ReplaceButtonClick();
    else if (id == ControlId("PreviewButton"))
        PreviewButtonClick();
}

void TForm_ImportEnde::CancelButtonClick()
{
    Close();
}

void TForm_ImportEnde::ReplaceButtonClick()
{
    RunImport();
    Close();
}

// Every failure is trapped here: its own message, when it has one, then the failure message.
void TForm_ImportEnde::RunImport()
{
    std::optional<std::string> message;
    try {
        operations::TGameSession& session = OpenGameSession();
        const engine::TImportSource source = ChosenSource();
        const std::int32_t target = TargetVehicleID(session);
        try {
            operations::ImportOverVehicle(session, target, source, operations::TCheckPolicy::RefuseOnErrors);
        } catch (const operations::TImportCheckFailed& refused) {
            if (!ConfirmDespiteErrors(refused.Findings()))
                return;
            operations::ImportOverVehicle(session, target, source, operations::TCheckPolicy::ImportDespiteErrors);
        }
        framework::ShowPlainMessage(Handle(), InterfaceText(TTextKey::ImportSucceeded));
        return;
    } catch (const TImportRefused& refused) {
        message = refused.what();
    } catch (const engine::TImportError& failed) {
        message = ImportFailureMessage(failed);
    } catch (const fileio::TVehmiraError& error) {
        // Refused before the import ran: the dialogs' own checks and the
        // target's lookup say why in the window's words.
        message = ImportFailureMessage(error).value_or(error.what());
    } catch (const std::exception& error) {
        message = error.what();
    } catch (...) {
    }
    if (message && !message->empty())
        framework::ShowPlainMessage(Handle(), framework::Wide(*message));
    framework::ShowPlainMessage(Handle(), InterfaceText(TTextKey::ImportFailed));
}

// The errors named, the user decides; no, and the game stays as it is.
bool TForm_ImportEnde::ConfirmDespiteErrors(const fileio::TCheckFindings& findings) const
{
    const std::wstring question = InterfaceText(TTextKey::ConfirmImportWithErrors, {CheckErrorsText(findings)});
    return MessageBoxW(Handle(), question.c_str(), framework::ApplicationTitle, MB_YESNO | MB_ICONWARNING) == IDYES;
}

operations::TGameSession& TForm_ImportEnde::OpenGameSession() const
{
    operations::TGameSession* session = App.FormMain->OpenGame();
    if (session == nullptr)
        throw TImportRefused(InterfaceTextUtf8(TTextKey::NoGameOpen));
    return *session;
}

// The selected row's ID names the target; the last definition with that ID wins.
std::int32_t TForm_ImportEnde::TargetVehicleID(const operations::TGameSession& session) const
{
    HWND list = Control("TargetList");
    const int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    if (row < 0)
        throw TImportRefused("");
    const std::string idText = framework::Utf8(VehicleListText(list, row, 0));
    std::int32_t id = 0;
    if (!gamedata::ParseVehicleID(idText, id))
        throw TImportRefused(InterfaceTextUtf8(TTextKey::NotAnInteger, {framework::Wide(idText)}) + ".");
    session.FindVehicle(id);
    return id;
}

engine::TImportSource TForm_ImportEnde::ChosenSource() const
{
    if (DroppedPackage)
        return *DroppedPackage;
    if (App.FormImportTyp->PackageImportSelected())
        return std::filesystem::path(App.FormImportTyp->ImportFileName());
    return App.FormCarFiles->ImportFiles();
}

} // namespace vehmira::gui
