// The import wizard's dialogs as the user meets them: layout, the chain of
// modal dialogs, every way out, and what the dialogs remember between runs.

#include "gui/ImportGuiSupport.h"
#include "gui/wizard/FormCarFiles.h"
#include "gui/wizard/FormImportEnde.h"
#include "gui/wizard/FormImportTyp.h"
#include "gui/windows/FormMain.h"

#include <commctrl.h>

#include <fstream>

using namespace vehmira::gui;
using namespace vehmira::fileio;
using namespace vehmira::gui::framework;

namespace {

const std::vector<const char*> CarFilesFields{"Edit_DFF",      "Edit_TXD",      "Edit_Handling", "Edit_HandlingSpecial",
                                              "Edit_Vehicles", "Edit_Carcols", "Edit_GXT"};

class TImportWizardTest : public TImportGuiTest {
protected:
    // A new vehicle in Data\Vehicles.ide: it shows in the list only when the list is refilled.
    void AddVehicleLine(int id)
    {
        std::ofstream(GameDir() / "Data" / "Vehicles.ide", std::ios::app)
            << "cars\r\n" << id << ", utility, utility, car, UTILITY, POLICAR, null, worker, 10, 0, 0\r\nend\r\n";
    }
    bool Checked(HWND button) const { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void ExpectHidden(std::initializer_list<TForm*> forms) const
    {
        for (TForm* form : forms)
            EXPECT_FALSE(IsWindowVisible(form->Handle())) << "one wizard window at a time";
    }
};

TEST_F(TImportWizardTest, EveryControlSitsWhereTheLayoutPutsIt)
{
    struct TCase {
        TForm* Form;
        const char* Name;
        const char* Parent;
        RECT Bounds; // left, top, right, bottom within the parent
        std::wstring Caption;
    };
    TForm* typ = &ImportTyp();
    TForm* files = &CarFiles();
    TForm* ende = &ImportEnde();
    const TCase cases[] = {
        {typ, "Label_ImportType", nullptr, {27, 16, 249, 46},
         L"Каким способом Вы хотите импортировать\r\nтранспортное средство?"},
        {typ, "Radio_ImportCAR", nullptr, {48, 72, 257, 89}, L"Импорт файла *.car"},
        {typ, "Radio_ImportFiles", nullptr, {48, 96, 273, 113}, L"Импорт нескольких файлов"},
        {typ, "Button_Cancel", nullptr, {32, 152, 145, 177}, L"Отмена"},
        {typ, "Button_Next", nullptr, {152, 152, 265, 177}, L"&Далее >>"},
        {files, "FilesGroup", nullptr, {24, 24, 385, 121}, L" Файлы "},
        {files, "DffLabel", "FilesGroup", {32, 32, 81, 45}, L"DFF-файл"},
        {files, "Edit_DFF", "FilesGroup", {104, 28, 313, 49}, L""},
        {files, "BrowseDffButton", "FilesGroup", {318, 27, 345, 50}, L"..."},
        {files, "TxdLabel", "FilesGroup", {32, 56, 81, 69}, L"TXD-файл"},
        {files, "Edit_TXD", "FilesGroup", {104, 52, 313, 73}, L""},
        {files, "BrowseTxdButton", "FilesGroup", {318, 51, 345, 74}, L"..."},
        {files, "LinesGroup", nullptr, {24, 128, 385, 273}, L" Файлы настроек транспортного средства "},
        {files, "HandlingLabel", "LinesGroup", {24, 36, 84, 49}, L"Handling.cfg"},
        {files, "Edit_Handling", "LinesGroup", {104, 32, 313, 53}, L""},
        {files, "HandlingSpecialLabel", "LinesGroup", {24, 60, 84, 73}, L"Доп. строка"},
        {files, "Edit_HandlingSpecial", "LinesGroup", {104, 56, 313, 77}, L""},
        {files, "VehiclesLabel", "LinesGroup", {24, 84, 80, 97}, L"Vehicles.ide"},
        {files, "Edit_Vehicles", "LinesGroup", {104, 80, 313, 101}, L""},
        {files, "CarcolsLabel", "LinesGroup", {24, 108, 79, 121}, L"Carcols.dat"},
        {files, "Edit_Carcols", "LinesGroup", {104, 104, 313, 125}, L""},
        {files, "NameGroup", nullptr, {24, 280, 385, 361}, L" Название транспортного средства "},
        {files, "NameLabel", "NameGroup", {24, 36, 72, 49}, L"Название"},
        {files, "Edit_GXT", "NameGroup", {104, 32, 313, 53}, L""},
        {files, "FilesCheckLabel", nullptr, {24, 368, 385, 425}, L""},
        {files, "BackButton", nullptr, {24, 436, 139, 461}, L"<< &Назад"},
        {files, "CancelButton", nullptr, {147, 436, 262, 461}, L"Отмена"},
        {files, "NextButton", nullptr, {270, 436, 385, 461}, L"&Далее >>"},
        {ende, "QuestionLabel", nullptr, {37, 16, 198, 47}, L"Какое транспортное средство\r\nВы хотите заменить?"},
        {ende, "VehiclesGroup", nullptr, {32, 56, 345, 321}, L" Транспортные средства "},
        {ende, "TargetList", "VehiclesGroup", {24, 32, 289, 241}, L""},
        {ende, "CheckLabel", nullptr, {32, 328, 345, 413}, L""},
        {ende, "BackButton", nullptr, {32, 420, 129, 445}, L"<< &Назад"},
        {ende, "CancelButton", nullptr, {140, 420, 237, 445}, L"Отмена"},
        {ende, "ReplaceButton", nullptr, {248, 420, 345, 445}, L"&Импорт"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        RECT bounds = RectIn(c.Form->Control(c.Name), c.Form->Handle());
        if (c.Parent) {
            const RECT parent = RectIn(c.Form->Control(c.Parent), c.Form->Handle());
            OffsetRect(&bounds, -parent.left, -parent.top);
        }
        // The written place, and at least the written size: a control grows to show its whole text.
        EXPECT_EQ(bounds.left, c.Bounds.left);
        EXPECT_EQ(bounds.top, c.Bounds.top);
        EXPECT_GE(bounds.right, c.Bounds.right) << bounds.right - bounds.left << " wide";
        EXPECT_GE(bounds.bottom, c.Bounds.bottom) << bounds.bottom - bounds.top << " high";
        EXPECT_EQ(c.Form->ControlText(c.Name), c.Caption);
    }
    const LONG_PTR verdictStyle = GetWindowLongPtrW(ImportEnde().Control("CheckLabel"), GWL_STYLE);
    EXPECT_TRUE((verdictStyle & ES_MULTILINE) && (verdictStyle & WS_VSCROLL) && (verdictStyle & ES_READONLY))
        << "a long verdict scrolls";
    HWND list = ImportEnde().Control("TargetList");
    EXPECT_EQ(GetWindowLongPtrW(list, GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);
    EXPECT_TRUE(ListView_GetExtendedListViewStyle(list) & LVS_EX_FULLROWSELECT);
    ListView_SetColumnWidth(list, 0, 200);
    EXPECT_EQ(ListView_GetColumnWidth(list, 0), 50) << "the columns keep their widths";
    EXPECT_GE(ListView_GetColumnWidth(list, 1), 114);
    EXPECT_EQ(ListView_GetColumnWidth(list, 2), 70);
    EXPECT_TRUE(Checked(ImportTyp().Control("Radio_ImportCAR"))) << "package import is selected at start";
    EXPECT_FALSE(Checked(ImportTyp().Control("Radio_ImportFiles")));
}

TEST_F(TImportWizardTest, TabOrderFollowsTheLayout)
{
    struct TCase {
        TForm* Form;
        std::vector<const char*> Order;
    };
    const TCase cases[] = {
        {&ImportTyp(), {"Radio_ImportCAR", "Button_Cancel", "Button_Next"}},
        {&CarFiles(),
         {"Edit_DFF", "BrowseDffButton", "Edit_TXD", "BrowseTxdButton", "Edit_Handling", "Edit_HandlingSpecial",
          "Edit_Vehicles", "Edit_Carcols", "Edit_GXT", "BackButton", "CancelButton", "NextButton"}},
        {&ImportEnde(), {"TargetList", "CheckLabel", "BackButton", "CancelButton", "ReplaceButton", "PreviewButton"}},
    };
    for (const TCase& c : cases) {
        HWND current = c.Form->Control(c.Order.front());
        for (std::size_t i = 1; i <= c.Order.size(); ++i) {
            current = GetNextDlgTabItem(c.Form->Handle(), current, FALSE);
            const char* expected = c.Order[i % c.Order.size()];
            EXPECT_EQ(current, c.Form->Control(expected)) << "step " << i << " should reach " << expected;
        }
    }
}

// Every way out of the wizard ends all of it, changes nothing, and the main
// window refills its list afterwards.
TEST_F(TImportWizardTest, EveryCancelEndsTheWholeWizardAndTheListIsRefilled)
{
    const std::wstring package = (Temp / "some.car").wstring();
    struct TCase {
        const char* Name;
        std::deque<std::optional<std::wstring>> DialogAnswers;
        std::function<void(TUser&)> Steps;
    };
    const TCase cases[] = {
        {"Отмена in the kind dialog", {},
         [&](TUser& user) {
             user.WaitShown(ImportTyp().Handle(), "the import-kind dialog");
             user.Click(ImportTyp().Control("Button_Cancel"));
         }},
        {"close box of the kind dialog", {},
         [&](TUser& user) {
             user.WaitShown(ImportTyp().Handle(), "the import-kind dialog");
             PostMessageW(ImportTyp().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
         }},
        {"package dialog cancelled", {std::nullopt}, [&](TUser& user) { ChooseKind(user, true); }},
        {"Отмена in the replace dialog after a package", {package},
         [&](TUser& user) {
             ChooseKind(user, true);
             user.WaitShown(ImportEnde().Handle(), "the replace dialog");
             ExpectHidden({&ImportTyp(), &CarFiles()});
             user.Click(ImportEnde().Control("CancelButton"));
         }},
        {"Отмена in the separate-files dialog", {},
         [&](TUser& user) {
             ChooseKind(user, false);
             user.WaitShown(CarFiles().Handle(), "the separate-files dialog");
             ExpectHidden({&ImportTyp(), &ImportEnde()});
             user.Click(CarFiles().Control("CancelButton"));
         }},
        {"close box of the replace dialog after separate files", {},
         [&](TUser& user) {
             ChooseKind(user, false);
             FillCarFiles(user, {{"Edit_GXT", L"Новое имя"}, {"Edit_Carcols", L"x, 1,1"}});
             user.WaitShown(ImportEnde().Handle(), "the replace dialog");
             ExpectHidden({&ImportTyp(), &CarFiles()});
             SelectListRow(ImportEnde().Control("TargetList"), 0);
             PostMessageW(ImportEnde().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
         }},
    };
    int newId = 700;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        AddVehicleLine(++newId);
        const TGameFiles before = GameFiles();
        FileDialogs.Answers = c.DialogAnswers;
        EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
            c.Steps(user);
            WaitWizardClosed();
        }));
        EXPECT_TRUE(FileDialogs.Answers.empty()) << "every file dialog expected was shown";
        EXPECT_TRUE(SameFiles(GameFiles(), before));
        ASSERT_FALSE(Rows().empty());
        EXPECT_EQ(Rows().back(), std::make_pair(std::to_wstring(newId), std::wstring(L"Police")));
        EXPECT_TRUE(IsWindowEnabled(App->FormMain->Handle()));
    }
}

TEST_F(TImportWizardTest, RadioChoiceAndLastPackageNameLastForTheRun)
{
    const std::wstring package = (Temp / "missing.car").wstring(); // need not exist to be picked
    EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
        ChooseKind(user, false);
        user.WaitShown(CarFiles().Handle(), "the separate-files dialog");
        user.Click(CarFiles().Control("CancelButton"));
        WaitWizardClosed();
    }));
    FileDialogs.Answers = {package};
    EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
        user.WaitShown(ImportTyp().Handle(), "the import-kind dialog");
        EXPECT_TRUE(Checked(ImportTyp().Control("Radio_ImportFiles"))) << "the last choice is still selected";
        EXPECT_FALSE(Checked(ImportTyp().Control("Radio_ImportCAR")));
        ChooseKind(user, true);
        user.WaitShown(ImportEnde().Handle(), "the replace dialog");
        user.Click(ImportEnde().Control("CancelButton"));
        WaitWizardClosed();
    }));
    FileDialogs.Answers = {std::nullopt};
    EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
        user.WaitShown(ImportTyp().Handle(), "the import-kind dialog");
        EXPECT_TRUE(Checked(ImportTyp().Control("Radio_ImportCAR")));
        user.Click(ImportTyp().Control("Button_Next"));
        WaitWizardClosed();
    }));
    ASSERT_EQ(FileDialogs.Calls.size(), 2u);
    for (const TScriptedFileDialogs::TCall& call : FileDialogs.Calls) {
        EXPECT_FALSE(call.Save);
        EXPECT_EQ(call.Filter, L"CAR-файлы (*.car)|*.car|Все файлы|*.*");
    }
    EXPECT_EQ(FileDialogs.Calls[0].InitialName, L"");
    EXPECT_EQ(FileDialogs.Calls[1].InitialName, package) << "the dialog starts with the last picked name";
    EXPECT_EQ(ImportTyp().ImportFileName(), package) << "a cancelled dialog keeps the last picked name";
}

TEST_F(TImportWizardTest, SeparateFilesStartBlankAtEveryShowingAndTheDotsPickFiles)
{
    const std::wstring pickedDff = L"C:\\models\\picked.dff";
    FileDialogs.Answers = {pickedDff, std::nullopt};
    EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
        ChooseKind(user, false);
        user.WaitShown(CarFiles().Handle(), "the separate-files dialog");
        for (const char* field : CarFilesFields) {
            EXPECT_EQ(user.Text(CarFiles().Control(field)), L"") << field;
            user.SetText(CarFiles().Control(field), L"typed");
        }
        ClickControl(CarFiles().Control("BrowseDffButton"));
        WaitUntil([&] { return user.Text(CarFiles().Control("Edit_DFF")) == pickedDff; }, "the picked DFF file");
        ClickControl(CarFiles().Control("BrowseTxdButton")); // cancelled: the field keeps its text
        EXPECT_EQ(user.Text(CarFiles().Control("Edit_TXD")), L"typed");
        user.Click(CarFiles().Control("CancelButton"));
        WaitWizardClosed();
    }));
    ASSERT_EQ(FileDialogs.Calls.size(), 2u);
    EXPECT_EQ(FileDialogs.Calls[0].Filter, L"DFF-файлы (*.dff)|*.dff|Все файлы|*.*");
    EXPECT_EQ(FileDialogs.Calls[1].Filter, L"TXD-файлы (*.txd)|*.txd|Все файлы|*.*");
    EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
        ChooseKind(user, false);
        user.WaitShown(CarFiles().Handle(), "the separate-files dialog");
        for (const char* field : CarFilesFields)
            EXPECT_EQ(user.Text(CarFiles().Control(field)), L"") << field << " is emptied at the next showing";
        user.Click(CarFiles().Control("CancelButton"));
        WaitWizardClosed();
    }));
}

TEST_F(TImportWizardTest, ReplaceDialogCopiesTheMainListAtEachShowingWithNoRowSelected)
{
    const std::wstring package = (Temp / "some.car").wstring();
    HWND list = ImportEnde().Control("TargetList");
    FileDialogs.Answers = {package, package};
    AddVehicleLine(611); // the main list shows it only after this wizard
    EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
        ChooseKind(user, true);
        user.WaitShown(ImportEnde().Handle(), "the replace dialog");
        EXPECT_EQ(ListRows(list), Rows());
        EXPECT_EQ(ListRows(list).size(), 4u);
        EXPECT_EQ(SelectedListRow(list), -1);
        SelectListRow(list, 2);
        user.Click(ImportEnde().Control("CancelButton"));
        WaitWizardClosed();
    }));
    EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
        ChooseKind(user, true);
        user.WaitShown(ImportEnde().Handle(), "the replace dialog");
        const TListRows rows = ListRows(list);
        EXPECT_EQ(rows.size(), 5u) << "the refilled main list is copied again";
        EXPECT_EQ(rows, Rows());
        EXPECT_EQ(SelectedListRow(list), -1) << "the last showing's selection is gone";
        user.Click(ImportEnde().Control("CancelButton"));
        WaitWizardClosed();
    }));
}

} // namespace
