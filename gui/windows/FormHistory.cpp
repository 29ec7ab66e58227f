#include "gui/windows/FormHistory.h"

#include "gui/common/InterfaceTexts.h"
#include "gui/common/Language.h"
#include "gui/framework/Dpi.h"
#include "gui/framework/WideText.h"

#include <commctrl.h>

#include <array>

namespace vehmira::gui {

namespace {

const framework::TFormLayout HistoryFormSpec{
    .Caption = L"",
    .Width = 560,
    .Height = 300,
    .Border = framework::TBorderKind::Dialog,
    .SystemMenu = true,
};

const std::array<framework::TControlLayout, 2> HistoryControls{{
    {framework::TControlKind::ListView, "ImportList", "", 8, 8, 544, 245, L""},
    {framework::TControlKind::Button, "CloseButton", "", 477, 264, 75, 25, L""},
}};

struct THistoryColumn {
    TTextKey Caption;
    int Width; // at 96 DPI
};
constexpr std::array<THistoryColumn, 4> HistoryColumns{{{TTextKey::HistoryVehicleColumn, 120},
                                                        {TTextKey::HistorySourceColumn, 200},
                                                        {TTextKey::HistoryTimeColumn, 120},
                                                        {TTextKey::HistoryStateColumn, 100}}};

std::wstring StateText(const engine::TJournalInfo& import, const operations::TImportHistory& history)
{
    if (import.Undone)
        return InterfaceText(TTextKey::HistoryUndone);
    if (import.Retired)
        return InterfaceText(TTextKey::HistoryRetired);
    if (history.NextUndo && history.NextUndo->Id == import.Id)
        return InterfaceText(TTextKey::HistoryNextUndo);
    return InterfaceText(TTextKey::HistoryUndoable);
}

void AddRow(HWND list, const std::array<std::wstring, 4>& texts)
{
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<wchar_t*>(texts[0].c_str());
    const auto row = SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    for (std::size_t column = 1; column < texts.size(); ++column) {
        LVITEMW subItem{};
        subItem.iSubItem = int(column);
        subItem.pszText = const_cast<wchar_t*>(texts[column].c_str());
        SendMessageW(list, LVM_SETITEMTEXTW, WPARAM(row), reinterpret_cast<LPARAM>(&subItem));
    }
}

} // namespace

TFormHistory::TFormHistory(HWND owner, const operations::TImportHistory& history)
    : framework::TForm(HistoryFormSpec, HistoryControls, owner)
{
    SetWindowTextW(Handle(), InterfaceText(TTextKey::HistoryCaption).c_str());
    SetControlText("CloseButton", InterfaceText(TTextKey::CloseButton));
    SetDialogKeys("CloseButton", "CloseButton");
    HWND list = Control("ImportList");
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    for (std::size_t i = 0; i < HistoryColumns.size(); ++i) {
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<wchar_t*>(InterfaceText(HistoryColumns[i].Caption).c_str());
        column.cx = framework::ScaleToDpi(HistoryColumns[i].Width, Dpi());
        ListView_InsertColumn(list, int(i), &column);
    }
    for (const engine::TJournalInfo& import : history.Imports)
        AddRow(list, {framework::Wide(import.Target), ImportSourceText(import.Source), framework::Wide(import.Time),
                      StateText(import, history)});
}

void TFormHistory::OnCommand(int id, int notifyCode)
{
    if (notifyCode == BN_CLICKED && id == ControlId("CloseButton"))
        CloseButtonClick();
}

void TFormHistory::CloseButtonClick()
{
    Close();
}

void ShowImportHistory(HWND owner, const operations::TImportHistory& history)
{
    TFormHistory form(owner, history);
    form.ShowModal();
}

} // namespace vehmira::gui
