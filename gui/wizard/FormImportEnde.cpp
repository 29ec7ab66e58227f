#include "gui/wizard/FormImportEnde.h"

#include "fileio/Errors.h"
#include "operations/Operations.h"
#include "gui/common/InterfaceTexts.h"
#include "gui/wizard/FormCarFiles.h"
#include "gui/wizard/FormImportTyp.h"
#include "gui/preview/PreviewLaunch.h"
#include "gui/wizard/ImportCheckText.h"
#include "gui/framework/ErrorBox.h"
#include "gui/common/VehicleListBehaviour.h"
#include "gui/common/VehicleListView.h"
#include "gui/common/FormTexts.h"
#include "gui/framework/WideText.h"

#include <commctrl.h>

#include <array>
#include <variant>

namespace vehmira::gui {

// The control tables below name a kind on every line.
using framework::TControlKind;

namespace {

const framework::TFormLayout TForm_ImportEndeSpec{
    .Caption = L"",
    .Width = 378,
    .Height = 463,
    .Border = framework::TBorderKind::Dialog,
    .SystemMenu = true,
};

const std::array<framework::TControlLayout, 8> ImportEndeControls{{
    {TControlKind::Label, "QuestionLabel", "", 37, 16, 161, 31, L""},
    {TControlKind::GroupBox, "VehiclesGroup", "", 32, 56, 313, 265, L""},
    {TControlKind::ListView, "TargetList", "VehiclesGroup", 24, 32, 265, 209, L""},
    // The check's verdict for the selected target, filled in when a row is
    // chosen; every finding, scrolled when they are many.
    {TControlKind::TextBox, "CheckLabel", "", 32, 328, 313, 85, L""},
    {TControlKind::Button, "BackButton", "", 32, 420, 97, 25, L""},
    {TControlKind::Button, "CancelButton", "", 140, 420, 97, 25, L""},
    {TControlKind::Button, "ReplaceButton", "", 248, 420, 97, 25, L""},
    // In the free corner beside the question, aligned with the list's right edge.
    {TControlKind::Button, "PreviewButton", "", 280, 19, 65, 25, L""},
}};

const std::array<TControlText, 6> ImportEndeTexts{{
    {"QuestionLabel", TTextKey::ReplaceQuestion},
    {"VehiclesGroup", TTextKey::VehiclesGroup},
    {"BackButton", TTextKey::BackButton},
    {"CancelButton", TTextKey::CancelButton},
    {"ReplaceButton", TTextKey::ImportButton},
    {"PreviewButton", TTextKey::PreviewButton},
}};

// A refusal of the target (no game open, no row, a row without a vehicle).
class TImportRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace

TForm_ImportEnde::TForm_ImportEnde(TImportWizardHost& host, const TImportWizardSteps& steps)
    : framework::TForm(TForm_ImportEndeSpec, ImportEndeControls, host.WizardOwner()), Host(host), Steps(steps)
{
    SetUpVehicleListView(Control("TargetList"), Dpi());
    AddVehicleListTypeAhead(Control("TargetList"));
    SetDialogKeys("ReplaceButton", "CancelButton");
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
    BackToSource = false;
    // A dropped package has no earlier step to go back to.
    EnableWindow(Control("BackButton"), !DroppedPackage.has_value());
    CopyVehicleListRows(Host.VehicleList(), Control("TargetList"));
    // The vehicle chosen in the main list is the target until another is chosen;
    // the copy keeps the rows' order.
    SelectVehicleListRow(Control("TargetList"), ListView_GetNextItem(Host.VehicleList(), -1, LVNI_SELECTED));
    ShowCheckVerdict();
}

std::optional<LRESULT> TForm_ImportEnde::OnMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NOTIFY) {
        const auto* change = reinterpret_cast<const NMLISTVIEW*>(lParam);
        if (change->hdr.hwndFrom == Control("TargetList") && change->hdr.code == LVN_ITEMCHANGED &&
            ((change->uNewState ^ change->uOldState) & LVIS_SELECTED) != 0)
            ShowCheckVerdict();
        else if (change->hdr.hwndFrom == Control("TargetList") && change->hdr.code == LVN_COLUMNCLICK)
            SortVehicleListByColumn(Control("TargetList"), change->iSubItem);
    }
    return framework::TForm::OnMessage(message, wParam, lParam);
}

// The check for the selected target; nothing while no row is selected.
void TForm_ImportEnde::ShowCheckVerdict()
{
    std::wstring verdict;
    operations::TGameSession* session = Host.OpenGame();
    try {
        if (session != nullptr && ListView_GetNextItem(Control("TargetList"), -1, LVNI_SELECTED) >= 0) {
            const engine::TImportSource source = ChosenSource();
            const std::int32_t target = TargetVehicleID(*session);
            const fileio::TCheckFindings findings = operations::CheckImportOverVehicle(*session, target, source);
            verdict = PlainSentence(findings, *session, target) + CheckVerdictText(findings);
        }
    } catch (const fileio::TVehmiraError& error) {
        verdict = InterfaceText(TTextKey::CheckNotRun, {framework::Wide(WordedErrorMessage(error).value_or(error.what()))});
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
    else if (id == ControlId("BackButton"))
        BackButtonClick();
    else if (id == ControlId("ReplaceButton"))
        ReplaceButtonClick();
    else if (id == ControlId("PreviewButton"))
        PreviewButtonClick();
}

void TForm_ImportEnde::CancelButtonClick()
{
    Close();
}

void TForm_ImportEnde::BackButtonClick()
{
    BackToSource = true;
    Close();
}

// A refused target keeps this dialog open for another choice; a refused
// source closes it, and the step that chose the source stays open as it was.
// A no to importing despite errors goes back to where their cause can be
// mended: the typed files and lines, or the target when a package came.
void TForm_ImportEnde::ReplaceButtonClick()
{
    const TRunOutcome outcome = RunImport();
    const bool typedSource = std::holds_alternative<engine::TImportFiles>(ChosenSource());
    BackToSource = outcome == TRunOutcome::SourceRefused || (outcome == TRunOutcome::Declined && typedSource);
    if (outcome == TRunOutcome::TargetRefused || (outcome == TRunOutcome::Declined && !typedSource))
        return;
    Close();
}

void TForm_ImportEnde::ShowFailure(const std::string& reason) const
{
    framework::ShowPlainMessage(Handle(),
                                InterfaceText(TTextKey::ImportFailed) + L"\r\n\r\n" + framework::Wide(reason));
}

TForm_ImportEnde::TRunOutcome TForm_ImportEnde::TellNothingToImport() const
{
    framework::ShowPlainMessage(Handle(), InterfaceText(TTextKey::NothingToImport));
    return TRunOutcome::SourceRefused;
}

// Every failure is trapped here and told in one box: the failure text and why.
TForm_ImportEnde::TRunOutcome TForm_ImportEnde::RunImport()
{
    try {
        operations::TGameSession& session = OpenGameSession();
        const std::int32_t target = TargetVehicleID(session);
        const engine::TImportSource source = ChosenSource();
        engine::TImportResult written;
        try {
            written = operations::ImportOverVehicle(session, target, source, operations::TCheckPolicy::RefuseOnErrors);
        } catch (const operations::TImportCheckFailed& refused) {
            // A no keeps everything chosen and typed; the game stays as it was.
            if (!ConfirmDespiteErrors(refused.Findings(), PlainSentence(refused.Findings(), session, target)))
                return TRunOutcome::Declined;
            written = operations::ImportOverVehicle(session, target, source, operations::TCheckPolicy::ImportDespiteErrors);
        }
        if (written.ChangedNothing())
            return TellNothingToImport();
        framework::ShowPlainMessage(Handle(), SucceededText(written, target));
        return TRunOutcome::Imported;
    } catch (const TImportRefused& refused) {
        ShowFailure(refused.what());
        return TRunOutcome::TargetRefused;
    } catch (const fileio::TVehmiraError& error) {
        // The core's typed facts in the window's words; a fact it has no words
        // for (a game file's own damaged line) in the core's own.
        ShowFailure(WordedErrorMessage(error).value_or(error.what()));
        return error.Kind() == fileio::TErrorKind::NoSuchVehicle ? TRunOutcome::TargetRefused
                                                                 : TRunOutcome::SourceRefused;
    } catch (const std::exception& error) {
        ShowFailure(error.what());
        return TRunOutcome::SourceRefused;
    }
}

// The errors named, the user decides; no, and the game stays as it is.
bool TForm_ImportEnde::ConfirmDespiteErrors(const fileio::TCheckFindings& findings,
                                            const std::wstring& plainSentence) const
{
    const std::wstring question =
        InterfaceText(TTextKey::ConfirmImportWithErrors, {plainSentence + CheckErrorsText(findings)});
    // No is the default: Enter alone never writes what the game cannot load.
    return MessageBoxW(Handle(), question.c_str(), framework::ApplicationTitle,
                       MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES;
}

// The success, the vehicle and what was written, and where to undo it.
std::wstring TForm_ImportEnde::SucceededText(const engine::TImportResult& written, std::int32_t target) const
{
    HWND list = Control("TargetList");
    const int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    const std::wstring vehicle =
        (row >= 0 ? VehicleListText(list, row, 1) + L" " : std::wstring()) + L"(" + std::to_wstring(target) + L")";
    std::wstring names;
    const auto add = [&names](const std::wstring& name) { names += (names.empty() ? L"" : L", ") + name; };
    for (const std::string& entry : written.WrittenEntries)
        add(framework::WideFromGameText(entry));
    for (const std::string& file : written.WrittenFiles)
        add(std::filesystem::path(framework::Wide(file)).filename().wstring());
    return InterfaceText(TTextKey::ImportSucceeded) + L"\r\n\r\n" +
           InterfaceText(TTextKey::ImportWritten, {vehicle, names, MenuItemCaption(TTextKey::FileMenu),
                                                   MenuItemCaption(TTextKey::UndoImportMenuItem)});
}

std::wstring TForm_ImportEnde::PlainSentence(const fileio::TCheckFindings& findings,
                                             const operations::TGameSession& session, std::int32_t target) const
{
    HWND list = Control("TargetList");
    const int row = ListView_GetNextItem(list, -1, LVNI_SELECTED);
    const std::optional<std::wstring> sentence = KindMismatchSentence(
        findings, row >= 0 ? VehicleListText(list, row, 1) : std::to_wstring(target),
        session.FindVehicle(target).VehicleType);
    return sentence ? *sentence + L"\r\n\r\n" : std::wstring();
}

operations::TGameSession& TForm_ImportEnde::OpenGameSession() const
{
    operations::TGameSession* session = Host.OpenGame();
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
        throw TImportRefused(InterfaceTextUtf8(TTextKey::NoVehicleSelected));
    const std::string idText = framework::Utf8(VehicleListText(list, row, 0));
    std::int32_t id = 0;
    if (!gamedata::ParseVehicleID(idText, id))
        throw TImportRefused(InterfaceTextUtf8(TTextKey::NotAnInteger, {framework::Wide(idText)}) + ".");
    session.FindVehicle(id);
    return id;
}

void TForm_ImportEnde::PreviewButtonClick()
{
    engine::TImportSource source;
    try {
        source = ChosenSource();
    } catch (const fileio::TVehmiraError& error) {
        ShowPreviewRefusal(Handle(), error);
        return;
    }
    ShowImportSourcePreview(Handle(), source, Host.OpenGame());
}

engine::TImportSource TForm_ImportEnde::ChosenSource() const
{
    if (DroppedPackage)
        return *DroppedPackage;
    if (Steps.Kind->PackageImportSelected())
        return std::filesystem::path(Steps.Kind->ImportFileName());
    return Steps.Files->ImportFiles();
}

} // namespace vehmira::gui
