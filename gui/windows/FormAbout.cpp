#include "gui/windows/FormAbout.h"

#include "gui/windows/Application.h"
#include "gui/windows/FormMain.h"

#include "VehmiraVersion.h"

#include <array>

namespace {

const TFormLayout AboutFormSpec{
    .Caption = L"О программе",
    .Width = 301,
    .Height = 182,
    .Border = TBorderKind::Dialog,
};

// A label and its value per line.
constexpr const wchar_t* Credits = L"Кодер: Vehmira contributors\r\n"
                                   L"Перевод: Vehmira contributors\r\n"
                                   L"Автор: Vehmira contributors\r\n"
                                   L"Мыло: нет\r\n"
                                   L"Сайт: нет\r\n"
                                   L"Форум: нет";

const std::array<TControlLayout, 5> AboutControls{{
    {TControlKind::BoldLabel, "TitleLabel", "", 24, 3, 0, 0, L"Vehmira"},
    {TControlKind::Label, "VersionLabel", "", 25, 21, 0, 0, L"Версия " VEHMIRA_VERSION_WIDE},
    {TControlKind::Label, "CreditsLabel", "", 24, 42, 253, 85, Credits},
    {TControlKind::Label, "BlankLabel", "", 25, 150, 0, 0, L""},
    {TControlKind::Button, "OKButton", "", 203, 145, 75, 25, L"OK"},
}};

} // namespace

TFormAbout::TFormAbout(TVehmiraApp& app) : TForm(AboutFormSpec, AboutControls, app.FormMain->Handle()) {}

void TFormAbout::OnCommand(int id, int notifyCode)
{
    if (notifyCode == BN_CLICKED && id == ControlId("OKButton"))
        OKButtonClick();
}

void TFormAbout::OKButtonClick()
{
    Close();
}
