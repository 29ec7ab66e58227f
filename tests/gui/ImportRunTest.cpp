// Imports through the real dialogs: what lands in the game directory, the
// messages, failures that leave the game as it was, undo from the menu, and
// packages dropped on the main window.

#include "gui/ImportGuiSupport.h"
#include "gui/wizard/FormCarFiles.h"
#include "gui/wizard/FormImportEnde.h"
#include "gui/wizard/FormImportTyp.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormPath.h"
#include "gui/common/Language.h"
#include "gui/windows/MainMenu.h"
#include "gui/framework/WideText.h"
#include "support/PackageBuilder.h"
#include "support/RwStreamBuilder.h"

#include <commctrl.h>

#include <fstream>
#include <regex>

using namespace vehmira::engine;
using namespace vehmira::fileio;
using namespace vehmira::gui;
using namespace vehmira::gui::framework;

namespace {

const std::wstring Succeeded = L"  Импортирование успешно завершено!!!  ";

// One box: the success, what was written, and where to undo it.
testing::AssertionResult OneSuccess(const std::vector<std::wstring>& boxes)
{
    if (boxes.size() != 1)
        return testing::AssertionFailure() << boxes.size() << " boxes";
    const std::wstring& text = boxes.front();
    if (!text.starts_with(Succeeded + L"\r\n\r\n") || !text.ends_with(L"Импорт можно отменить: «Файл» → «Отменить импорт»."))
        return testing::AssertionFailure() << Utf8(text);
    return testing::AssertionSuccess();
}

const std::wstring Failed = L"  Ошибка при импортировании!";
const std::wstring NothingToImport =
    L"Импортировать нечего: игра уже содержит всё выбранное, или ничего не выбрано. Файлы игры не изменены.";
const std::wstring Undone = L"Импорт отменён: файлы игры восстановлены.";
const std::wstring NothingToUndo = L"Отменять нечего: в этом каталоге игры нет импорта, который можно отменить.";
const std::wstring OnlyPackagesDrop = L"Сюда можно перетащить только один пакет транспортного средства — файл «.car».";
// "Гепард" in code page 1251.
const std::string CheetahInCp1251 = "\xC3\xE5\xEF\xE0\xF0\xE4";

bool Contains(const std::wstring& text, const std::wstring& part)
{
    return text.find(part) != std::wstring::npos;
}

// The wizard's step left on screen after the message boxes of an import.
enum class TLeftOpen { None, Kind, Files, Replace };

class TImportRunTest : public TImportGuiTest {
protected:
    // The whole package branch: kind, package, target row, then the message boxes.
    std::vector<std::wstring> ImportPackage(const std::filesystem::path& package, int row, std::size_t boxes = 1,
                                            TLeftOpen left = TLeftOpen::None)
    {
        FileDialogs.Answers = {package.wstring()};
        std::vector<std::wstring> texts;
        EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
            ChooseKind(user, true);
            ReplaceRow(user, row);
            texts = Boxes(user, boxes);
            CancelWhatIsLeft(user, left);
            WaitWizardClosed();
        }));
        return texts;
    }
    // Separate files; fieldsLeft receives the files step's fields when that step is left open.
    std::vector<std::wstring> ImportFiles(const std::vector<std::pair<const char*, std::wstring>>& fields, int row,
                                          std::size_t boxes = 1, TLeftOpen left = TLeftOpen::None,
                                          std::vector<std::wstring>* fieldsLeft = nullptr)
    {
        std::vector<std::wstring> texts;
        EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
            ChooseKind(user, false);
            FillCarFiles(user, fields);
            ReplaceRow(user, row);
            texts = Boxes(user, boxes);
            if (left == TLeftOpen::Files && fieldsLeft)
                for (const auto& field : fields)
                    fieldsLeft->push_back(user.Text(CarFiles().Control(field.first)));
            CancelWhatIsLeft(user, left);
            WaitWizardClosed();
        }));
        return texts;
    }
    // The separate-files step refuses its "Далее >>": the box it shows, and
    // the fields as the step still holds them (the replace dialog never shows).
    std::pair<std::vector<std::wstring>, std::vector<std::wstring>>
    RefusedAtNext(const std::vector<std::pair<const char*, std::wstring>>& fields)
    {
        std::vector<std::wstring> texts, kept;
        bool replaceShown = false;
        EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
            ChooseKind(user, false);
            FillCarFiles(user, fields);
            texts = Boxes(user, 1);
            replaceShown = IsWindowVisible(ImportEnde().Handle());
            for (const auto& field : fields)
                kept.push_back(user.Text(CarFiles().Control(field.first)));
            CancelWhatIsLeft(user, TLeftOpen::Files);
            WaitWizardClosed();
        }));
        EXPECT_FALSE(replaceShown);
        return {texts, kept};
    }
    // Checks that exactly the expected step is on screen and cancels it, which closes the wizard.
    void CancelWhatIsLeft(TUser& user, TLeftOpen left) const
    {
        const struct {
            TLeftOpen Step;
            vehmira::gui::framework::TForm& Form;
            const char* Cancel;
        } steps[] = {{TLeftOpen::Kind, ImportTyp(), "Button_Cancel"},
                     {TLeftOpen::Files, CarFiles(), "CancelButton"},
                     {TLeftOpen::Replace, ImportEnde(), "CancelButton"}};
        for (const auto& step : steps)
            if (step.Step == left) {
                user.WaitShown(step.Form.Handle(), "the step left open");
                user.Click(step.Form.Control(step.Cancel));
            }
    }
    // "Отменить импорт" answered with yes or no; then the boxes that follow.
    std::vector<std::wstring> UndoFromMenu(int answer, std::size_t boxesAfter, std::wstring* question = nullptr)
    {
        std::vector<std::wstring> texts;
        EXPECT_NO_PROBLEMS(Menu(UndoImportMenu, [&](TUser& user) {
            const TMessageBoxSeen asked = AnswerBoxWith(user, answer);
            if (question)
                *question = asked.Text;
            texts = Boxes(user, boxesAfter);
        }));
        return texts;
    }
    std::vector<std::string> Drop(const std::vector<std::wstring>& files, const std::function<void(TUser&)>& steps)
    {
        return Act(
            [&] {
                SendMessageW(App->FormMain->Handle(), WM_DROPFILES,
                             reinterpret_cast<WPARAM>(MakeDropHandle(files)), 0);
            },
            steps);
    }
    std::filesystem::path WriteInput(std::string_view name, const ByteBuffer& bytes) const
    {
        return Temp.Write(std::string("input/") + std::string(name), bytes);
    }
};

TEST_F(TImportRunTest, PackageImportReplacesTheChosenVehicleAndTheListShowsIt)
{
    const std::filesystem::path package = ExportedPackage(415, "cheetah.car");
    const TGameFiles before = GameFiles();
    const std::vector<std::wstring> boxes = ImportPackage(package, 0);
    EXPECT_TRUE(OneSuccess(boxes));
    EXPECT_TRUE(!boxes.empty() && Contains(boxes.front(), L"Landstalker (400): записано: ") &&
                Contains(boxes.front(), L"Handling.cfg"))
        << "names the vehicle and what was written";
    const TGameFiles after = GameFiles();
    EXPECT_FALSE(SameFiles(after, before));
    EXPECT_TRUE(SameFiles(after, ReferenceImport(400, package))) << "the game directory holds exactly the core's import";
    EXPECT_EQ(Rows().front(), std::make_pair(std::wstring(L"400"), std::wstring(L"Cheetah")));
    EXPECT_TRUE(Contains(Wide(App->FormMain->VehicleDefs()->FindLastByID(400)->Line), L"executive"))
        << "a later export takes the definition line now in the game";
}

TEST_F(TImportRunTest, SeparateFilesImportTakesTheFieldsInCodePage1251)
{
    const std::filesystem::path dff = WriteInput("new.dff", GameFixture::RenderWareBytes(RwClumpChunk, 5000, 41));
    const std::filesystem::path txd =
        WriteInput("new.txd", GameFixture::RenderWareBytes(RwTextureDictionaryChunk, 2500, 42));
    const std::wstring handling = L"NEWBIKE 400.0 150.0 4.0 0.0 0.05 -0.1 103 1.6 0.9 0.48 5 210.0 50.0 R P";
    const std::wstring special = L"! NEWBIKE 0.06 0.8 0.3 36.0 39.0 -0.2 0.3 0.5";
    const std::wstring vehicles =
        L"9999, newbike, newbike, bike, NEWBIKE, NEWBIKE, biked, ignore, 10, 0, 0, 24, 0.6, 0.6, 1";
    const std::wstring carcols = L"newbike, 3,1, 5,1";
    EXPECT_TRUE(OneSuccess(ImportFiles({{"Edit_DFF", dff.wstring()},
                           {"Edit_TXD", txd.wstring()},
                           {"Edit_Handling", handling},
                           {"Edit_HandlingSpecial", special},
                           {"Edit_Vehicles", vehicles},
                           {"Edit_Carcols", carcols},
                           {"Edit_GXT", L"Гепард"}},
                          2)));

    TImportFiles expected{dff, txd, CheetahInCp1251, Utf8(handling), Utf8(special), Utf8(vehicles), Utf8(carcols)};
    const TGameFiles after = GameFiles();
    EXPECT_TRUE(SameFiles(after, ReferenceImport(523, expected)));
    EXPECT_EQ(GameFixture::GXTMainText(after.at("Text/American.gxt"), "COPBIKE"), CheetahInCp1251);
    EXPECT_EQ(Rows()[2], std::make_pair(std::wstring(L"523"), std::wstring(L"Гепард")));
}

TEST_F(TImportRunTest, EveryFieldEmptySaysNothingToImportAndKeepsTheFilesStepOpen)
{
    const TGameFiles before = GameFiles();
    EXPECT_EQ(RefusedAtNext({}).first, std::vector<std::wstring>{NothingToImport});
    EXPECT_EQ(RefusedAtNext({{"Edit_GXT", L"   "}, {"Edit_Carcols", L" "}}).first,
              std::vector<std::wstring>{NothingToImport});
    // A package without pieces gets as far as the import, which changes nothing.
    const std::filesystem::path empty = WriteInput("empty.car", PackageBytes(415, {}, {}));
    EXPECT_EQ(ImportPackage(empty, 0, 1, TLeftOpen::Kind), std::vector<std::wstring>{NothingToImport});
    EXPECT_TRUE(SameFiles(GameFiles(), before));
    EXPECT_EQ(Rows().front(), std::make_pair(std::wstring(L"400"), std::wstring(L"Landstalker")));
}

// "Далее >>" checks the files as the import will: a missing file, a file of
// the other kind or a text the game's code page cannot hold is told on the
// files step, which keeps every field.
TEST_F(TImportRunTest, NextRefusesMissingOrWrongFilesAndKeepsTheFields)
{
    const std::filesystem::path textFile = WriteInput("model.dff", GameFixture::ToBytes("just some text here"));
    const std::filesystem::path dictionary =
        WriteInput("new.txd", GameFixture::RenderWareBytes(RwTextureDictionaryChunk, 2500, 42));
    const std::wstring gone = (Temp / "input" / "gone.dff").wstring();
    const struct {
        const char* Name;
        std::vector<std::pair<const char*, std::wstring>> Fields;
        std::vector<std::wstring> Said;
    } cases[] = {
        {"a DFF file that does not exist", {{"Edit_DFF", gone}, {"Edit_GXT", L"X"}}, {L"gone.dff", L"не найден"}},
        {"a DFF file that is no model", {{"Edit_DFF", textFile.wstring()}}, {L"model.dff"}},
        {"a texture dictionary as the DFF", {{"Edit_DFF", dictionary.wstring()}, {"Edit_TXD", dictionary.wstring()}},
         {L"new.txd", L"DFF"}},
        {"a TXD file that does not exist", {{"Edit_TXD", gone}}, {L"gone.dff", L"TXD"}},
        {"a name code page 1251 cannot hold", {{"Edit_Carcols", L"x, 1,1"}, {"Edit_GXT", L"Cheetah 中"}},
         {L"«Название»", L"1251"}},
        {"a special handling line code page 1251 cannot hold", {{"Edit_HandlingSpecial", L"! X ☃"}},
         {L"«Handling.cfg, особая строка»"}},
    };
    const TGameFiles before = GameFiles();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        const auto [boxes, kept] = RefusedAtNext(c.Fields);
        ASSERT_EQ(boxes.size(), 1u);
        for (const std::wstring& part : c.Said)
            EXPECT_TRUE(Contains(boxes.front(), part)) << Utf8(boxes.front());
        ASSERT_EQ(kept.size(), c.Fields.size());
        for (std::size_t i = 0; i < kept.size(); ++i)
            EXPECT_EQ(kept[i], c.Fields[i].second);
        EXPECT_TRUE(SameFiles(GameFiles(), before));
    }
}

// Each failure is one box: the failure message and its cause. The game
// directory stays byte for byte as it was, and the step whose choice was
// refused stays open (the replace dialog for the target, the files step with
// its fields as typed, the kind dialog for a package).
TEST_F(TImportRunTest, FailedImportsSayWhyAndLeaveTheGameAsItWas)
{
    const std::filesystem::path package = ExportedPackage(415, "cheetah.car");
    const std::filesystem::path notPackage = WriteInput("not.car", GameFixture::ToBytes("XYZ\x02 not a package at all"));
    const std::filesystem::path missing = Temp / "input" / "missing.car";
    const std::filesystem::path textFile = WriteInput("model.dff", GameFixture::ToBytes("just some text here"));
    const std::filesystem::path goodModel = WriteInput("good.dff", GameFixture::RenderWareBytes(RwClumpChunk, 5000, 41));
    const std::vector<std::pair<const char*, std::wstring>> badHandling{
        {"Edit_DFF", goodModel.wstring()}, {"Edit_Handling", L"foo"}};
    std::vector<std::wstring> fieldsLeft;
    struct TCase {
        const char* Name;
        std::function<std::vector<std::wstring>()> Import;
        std::vector<std::wstring> Reason; // what the box says after the failure message
    };
    const TCase cases[] = {
        {"no row selected", [&] { return ImportPackage(package, -1, 1, TLeftOpen::Replace); },
         {L"выберите транспортное средство"}},
        {"not a package", [&] { return ImportPackage(notPackage, 0, 1, TLeftOpen::Kind); }, {L"Ungültige CAR-Datei!!"}},
        {"typed name of a missing package", [&] { return ImportPackage(missing, 0, 1, TLeftOpen::Kind); },
         {L"missing.car"}},
        // A file that goes away between "Далее >>" and "Импорт" is still refused by the import.
        {"a DFF file removed after the files step",
         [&] {
             const std::filesystem::path fleeting = WriteInput("fleeting.dff", GameFixture::RenderWareBytes(RwClumpChunk, 100, 7));
             std::vector<std::wstring> boxes;
             EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
                 ChooseKind(user, false);
                 FillCarFiles(user, {{"Edit_DFF", fleeting.wstring()}});
                 user.WaitShown(ImportEnde().Handle(), "the replace dialog");
                 std::filesystem::remove(fleeting);
                 ReplaceRow(user, 0);
                 boxes = Boxes(user, 1);
                 CancelWhatIsLeft(user, TLeftOpen::Files);
                 WaitWizardClosed();
             }));
             return boxes;
         },
         {L"fleeting.dff"}},
        {"a malformed handling line, fields kept",
         [&] { return ImportFiles(badHandling, 0, 1, TLeftOpen::Files, &fieldsLeft); },
         {L"Основная строка Handling.cfg \"foo\": полей 1, а нужно не меньше 2."}},
    };
    const TGameFiles before = GameFiles();
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const std::vector<std::wstring> boxes = c.Import();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes.front().rfind(Failed + L"\r\n\r\n", 0), 0u) << Utf8(boxes.front());
        for (const std::wstring& part : c.Reason)
            EXPECT_TRUE(Contains(boxes.front(), part)) << Utf8(boxes.front());
        EXPECT_TRUE(SameFiles(GameFiles(), before));
        EXPECT_EQ(Rows().front(), std::make_pair(std::wstring(L"400"), std::wstring(L"Landstalker")));
    }
    // The refused handling line's step kept what was typed.
    EXPECT_EQ(fieldsLeft, (std::vector<std::wstring>{goodModel.wstring(), L"foo"}));
}

// The replace dialog shows the check's verdict for the chosen row; with errors
// the import asks first, naming them, with No as the default; a no leaves the
// game as it was and goes back to the typed fields, every one kept.
TEST_F(TImportRunTest, TheVerdictIsShownAndErrorsAreConfirmedBeforeTheImport)
{
    RwTest::TTestModel car;
    car.Frames = {{"car", -1},           {"chassis", 0},        {"wheel_rf_dummy", 0},
                  {"wheel_rb_dummy", 0}, {"wheel_lf_dummy", 0}, {"wheel_lb_dummy", 0}};
    const ByteBuffer model = RwTest::Model(car); // no collision
    const std::filesystem::path dff = WriteInput("bare.dff", model);
    const TGameFiles before = GameFiles();
    for (const int answer : {IDNO, IDYES}) {
        SCOPED_TRACE(answer == IDYES ? "yes" : "no");
        std::wstring verdict;
        TMessageBoxSeen question;
        std::vector<std::wstring> after;
        std::vector<std::wstring> fieldsKept;
        EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
            ChooseKind(user, false);
            FillCarFiles(user, {{"Edit_DFF", dff.wstring()}, {"Edit_GXT", L"Голый"}});
            user.WaitShown(ImportEnde().Handle(), "the replace dialog");
            EXPECT_EQ(ImportEnde().ControlText("CheckLabel"), L"") << "no row chosen yet";
            SelectListRow(ImportEnde().Control("TargetList"), 0);
            verdict = ImportEnde().ControlText("CheckLabel");
            user.Click(ImportEnde().Control("ReplaceButton"));
            question = AnswerBoxWith(user, answer);
            after = Boxes(user, answer == IDYES ? 1 : 0);
            if (answer == IDNO) {
                user.WaitShown(CarFiles().Handle(), "the separate-files dialog again");
                fieldsKept = {CarFiles().ControlText("Edit_DFF"), CarFiles().ControlText("Edit_GXT")};
                user.Click(CarFiles().Control("CancelButton"));
            }
            WaitWizardClosed();
        }));
        EXPECT_EQ(question.DefaultButton, IDNO) << "Enter alone never imports what the check refused";
        EXPECT_TRUE(verdict.starts_with(L"Игра не сможет загрузить этот транспорт:\r\n")) << Utf8(verdict);
        EXPECT_TRUE(Contains(verdict, L"В модели нет коллизии.")) << Utf8(verdict);
        EXPECT_TRUE(Contains(verdict, L"Предупреждения:")) << Utf8(verdict);
        EXPECT_TRUE(Contains(question.Text, L"В модели нет коллизии.")) << Utf8(question.Text);
        EXPECT_TRUE(question.Text.ends_with(L"Всё равно импортировать?")) << Utf8(question.Text);
        if (answer == IDNO) {
            EXPECT_TRUE(SameFiles(GameFiles(), before));
            EXPECT_EQ(fieldsKept, (std::vector<std::wstring>{dff.wstring(), L"Голый"}));
        } else {
            EXPECT_TRUE(OneSuccess(after));
            const ByteBuffer stored = GameFixture::ArchiveEntryBytes(GameFiles().at("Models/GTA3.img"), "landstal.dff");
            EXPECT_EQ(ByteBuffer(stored.begin(), stored.begin() + std::ptrdiff_t(model.size())), model);
        }
    }
}

// A model made for another kind of vehicle is told first in one plain
// sentence, in the verdict and in the question, before the coded findings.
TEST_F(TImportRunTest, AModelOfAnotherKindIsToldInOnePlainSentenceFirst)
{
    RwTest::TTestModel bike;
    bike.Frames = {{"bike", -1}, {"chassis", 0}, {"wheel_front", 0}, {"wheel_rear", 0}};
    const std::filesystem::path dff = WriteInput("bike.dff", RwTest::Model(bike));
    std::wstring verdict;
    TMessageBoxSeen question;
    EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
        ChooseKind(user, false);
        FillCarFiles(user, {{"Edit_DFF", dff.wstring()}});
        user.WaitShown(ImportEnde().Handle(), "the replace dialog");
        SelectListRow(ImportEnde().Control("TargetList"), 1);
        verdict = ImportEnde().ControlText("CheckLabel");
        user.Click(ImportEnde().Control("ReplaceButton"));
        question = AnswerBoxWith(user, IDNO);
        user.WaitShown(CarFiles().Handle(), "the separate-files dialog again");
        user.Click(CarFiles().Control("CancelButton"));
        WaitWizardClosed();
    }));
    const std::wstring sentence = L"Это модель вида «мотоцикл», а Cheetah — «автомобиль».\r\n\r\n";
    EXPECT_TRUE(verdict.starts_with(sentence)) << Utf8(verdict);
    EXPECT_TRUE(Contains(verdict, L"Модель сделана для другого вида транспорта (bike).")) << Utf8(verdict);
    EXPECT_TRUE(question.Text.starts_with(sentence)) << Utf8(question.Text);
}

// A model cut short is told in the interface's language alone: no English
// words of the reader's own come through.
TEST_F(TImportRunTest, AnUnreadableModelIsToldInTheInterfacesLanguageAlone)
{
    RwTest::TTestModel car;
    ByteBuffer model = RwTest::Model(car);
    model.resize(model.size() / 2);
    const std::filesystem::path dff = WriteInput("cut.dff", model);
    std::wstring verdict;
    EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
        ChooseKind(user, false);
        FillCarFiles(user, {{"Edit_DFF", dff.wstring()}});
        user.WaitShown(ImportEnde().Handle(), "the replace dialog");
        SelectListRow(ImportEnde().Control("TargetList"), 0);
        verdict = ImportEnde().ControlText("CheckLabel");
        user.Click(ImportEnde().Control("CancelButton"));
        WaitWizardClosed();
    }));
    EXPECT_TRUE(Contains(verdict, L"Модель не читается: файл повреждён или это не модель RenderWare.")) << Utf8(verdict);
    for (const wchar_t* english : {L"chunk", L"model:", L"the ", L"not "})
        EXPECT_FALSE(Contains(verdict, english)) << Utf8(verdict);
}

// Back goes one step at a time and keeps what was typed; a new run of the
// wizard starts blank.
TEST_F(TImportRunTest, BackKeepsEveryFieldAndANewRunStartsBlank)
{
    RwTest::TTestModel bare;
    const std::filesystem::path dff = WriteInput("bare.dff", RwTest::Model(bare));
    std::vector<std::wstring> fieldsSeen;
    EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
        ChooseKind(user, false);
        FillCarFiles(user, {{"Edit_DFF", dff.wstring()}, {"Edit_Handling", L"BARE 1"}});
        user.WaitShown(ImportEnde().Handle(), "the replace dialog");
        EXPECT_TRUE(IsWindowEnabled(ImportEnde().Control("BackButton")));
        user.Click(ImportEnde().Control("BackButton"));
        user.WaitShown(CarFiles().Handle(), "the separate-files dialog after Back");
        fieldsSeen.push_back(CarFiles().ControlText("Edit_DFF") + L"|" + CarFiles().ControlText("Edit_Handling"));
        user.Click(CarFiles().Control("BackButton"));
        user.WaitShown(ImportTyp().Handle(), "the import-kind dialog after Back");
        user.Click(ImportTyp().Control("Button_Next"));
        user.WaitShown(CarFiles().Handle(), "the separate-files dialog once more");
        fieldsSeen.push_back(CarFiles().ControlText("Edit_DFF") + L"|" + CarFiles().ControlText("Edit_Handling"));
        user.Click(CarFiles().Control("CancelButton"));
        WaitWizardClosed();
    }));
    EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
        ChooseKind(user, false);
        user.WaitShown(CarFiles().Handle(), "the separate-files dialog of a new run");
        // A step opens with its first field focused (the focus follows the window's showing).
        user.WaitUntil(
            [&] {
                GUITHREADINFO thread{};
                thread.cbSize = sizeof(thread);
                GetGUIThreadInfo(GetWindowThreadProcessId(CarFiles().Handle(), nullptr), &thread);
                return thread.hwndFocus == CarFiles().Control("Edit_DFF");
            },
            "the first field to take the keyboard");
        fieldsSeen.push_back(CarFiles().ControlText("Edit_DFF") + L"|" + CarFiles().ControlText("Edit_Handling"));
        user.Click(CarFiles().Control("CancelButton"));
        WaitWizardClosed();
    }));
    const std::wstring typed = dff.wstring() + L"|BARE 1";
    EXPECT_EQ(fieldsSeen, (std::vector<std::wstring>{typed, typed, L"|"}));
}

// The verdict in English, as the shipped language file words it.
TEST_F(TImportRunTest, TheVerdictSpeaksTheInterfaceLanguage)
{
    std::ifstream source(VEHMIRA_LANGUAGE_SOURCE, std::ios::binary);
    ASSERT_TRUE(source) << "cannot read " << VEHMIRA_LANGUAGE_SOURCE;
    const std::string utf8((std::istreambuf_iterator<char>(source)), std::istreambuf_iterator<char>());
    const std::wstring text = Wide(utf8);
    const std::filesystem::path language = Temp / "English.lng";
    {
        std::ofstream file(language, std::ios::binary | std::ios::trunc);
        file.write("\xFF\xFE", 2);
        file.write(reinterpret_cast<const char*>(text.data()), static_cast<std::streamsize>(text.size() * 2));
    }
    SetCurrentLanguage(TLanguage::Load(language, L"English"));
    struct TRussianAgain {
        ~TRussianAgain() { SetCurrentLanguage(TLanguage()); }
    } russianAgain;

    RwTest::TTestModel bare; // no collision
    const std::filesystem::path dff = WriteInput("bare.dff", RwTest::Model(bare));
    std::wstring verdict;
    EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
        ChooseKind(user, false);
        FillCarFiles(user, {{"Edit_DFF", dff.wstring()}});
        user.WaitShown(ImportEnde().Handle(), "the replace dialog");
        SelectListRow(ImportEnde().Control("TargetList"), 0);
        verdict = ImportEnde().ControlText("CheckLabel");
        user.Click(ImportEnde().Control("CancelButton"));
        WaitWizardClosed();
    }));
    EXPECT_TRUE(verdict.starts_with(L"The game would fail on this vehicle:\r\n")) << Utf8(verdict);
    EXPECT_TRUE(Contains(verdict, L"The model holds no collision.")) << Utf8(verdict);
    EXPECT_TRUE(Contains(verdict, L"The model lacks the frame 'wheel_rf_dummy'.")) << Utf8(verdict);
}

// The separate-files dialog checks the model and its textures once both files are given.
TEST_F(TImportRunTest, TheSeparateFilesDialogChecksBothFilesOnceGiven)
{
    RwTest::TTestModel model; // no collision
    const std::filesystem::path dff = WriteInput("bare.dff", RwTest::Model(model));
    RwTest::TTestTexture texture;
    const std::filesystem::path txd =
        WriteInput("bare.txd", RwTest::TextureDictionary({RwTest::TextureNative(texture)}));
    std::wstring onlyModel;
    std::wstring both;
    EXPECT_NO_PROBLEMS(RunWizard([&](TUser& user) {
        ChooseKind(user, false);
        user.WaitShown(CarFiles().Handle(), "the separate-files dialog");
        user.SetText(CarFiles().Control("Edit_DFF"), dff.wstring());
        onlyModel = CarFiles().ControlText("FilesCheckLabel");
        user.SetText(CarFiles().Control("Edit_TXD"), txd.wstring());
        both = CarFiles().ControlText("FilesCheckLabel");
        user.Click(CarFiles().Control("CancelButton"));
        WaitWizardClosed();
    }));
    EXPECT_EQ(onlyModel, L"");
    EXPECT_TRUE(both.starts_with(L"Игра не сможет загрузить этот транспорт:\r\n")) << Utf8(both);
    EXPECT_TRUE(Contains(both, L"В модели нет коллизии.")) << Utf8(both);
}

// A game that does not open leaves Import off and the list saying why; once
// the cause is mended, F5 opens the game and fills the list.
TEST_F(TImportRunTest, WithoutAnOpenGameImportIsOffAndF5TriesAgain)
{
    // "Путь" to a game folder whose archive cannot be opened: the path is
    // taken, the opening fails, and no game is open.
    const std::filesystem::path broken = Temp / "Broken";
    GameFixture::WriteGameDirectory(broken);
    std::ofstream(broken / "Models" / "GTA3.img", std::ios::binary | std::ios::trunc) << "not an archive";
    EXPECT_NO_PROBLEMS(Menu(GamePathMenu, [&](TUser& user) {
        user.WaitShown(App->FormPath->Handle(), "the path dialog");
        user.SetText(App->FormPath->Control("Edit_Path"), broken.wstring());
        user.Click(App->FormPath->Control("Button_OK"));
        user.AnswerMessageBox();
    }));
    TFormMain& main = *App->FormMain;
    EXPECT_TRUE(Rows().empty()) << "the old game's rows are gone";
    EXPECT_FALSE(IsWindowEnabled(main.Control("Button_Import")));
    EXPECT_FALSE(IsWindowEnabled(main.Control("Button_Export")));
    EXPECT_EQ(main.ControlText("Label_ListStatus"), L"Список пуст: игра не открылась. Устраните причину и нажмите F5.");

    GameFixture::WriteGameDirectory(broken);
    EXPECT_NO_PROBLEMS(Act([&] {
        NMLVKEYDOWN key{};
        key.hdr.hwndFrom = main.Control("List_ID");
        key.hdr.idFrom = UINT_PTR(GetDlgCtrlID(key.hdr.hwndFrom));
        key.hdr.code = LVN_KEYDOWN;
        key.wVKey = VK_F5;
        SendMessageW(main.Handle(), WM_NOTIFY, key.hdr.idFrom, reinterpret_cast<LPARAM>(&key));
    }));
    EXPECT_EQ(Rows().size(), 4u);
    EXPECT_TRUE(IsWindowEnabled(main.Control("Button_Import")));
    EXPECT_EQ(main.ControlText("Label_ListStatus"), L"");
}

// "История импортов..." lists every import, newest first, with what an undo would do.
TEST_F(TImportRunTest, TheHistoryShowsEveryImportAndWhatCanBeUndone)
{
    const std::filesystem::path package = ExportedPackage(415, "cheetah.car");
    ASSERT_TRUE(OneSuccess(ImportPackage(package, 0)));
    ASSERT_TRUE(OneSuccess(ImportPackage(package, 1)));
    std::vector<std::wstring> rows;
    EXPECT_NO_PROBLEMS(Menu(HistoryMenu, [&](TUser& user) {
        HWND history = nullptr;
        user.WaitUntil(
            [&] {
                history = FindWindowW(nullptr, L"История импортов");
                return history != nullptr && IsWindowVisible(history);
            },
            "the history window");
        HWND list = FindWindowExW(history, nullptr, WC_LISTVIEWW, nullptr);
        for (int row = 0; row < ListView_GetItemCount(list); ++row) {
            wchar_t vehicle[128] = {};
            wchar_t state[128] = {};
            ListView_GetItemText(list, row, 0, vehicle, 128);
            ListView_GetItemText(list, row, 3, state, 128);
            rows.push_back(std::wstring(vehicle) + L": " + state);
        }
        user.Click(FindWindowExW(history, nullptr, L"Button", L"Закрыть"));
        user.WaitUntil([&] { return !IsWindow(history) || !IsWindowVisible(history); }, "the history to close");
    }));
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"415 (cheetah): отменится первым", L"400 (landstal): можно отменить"}));
}

TEST_F(TImportRunTest, UndoFromTheMenuAsksNamesTheImportAndRestoresTheGame)
{
    const TGameFiles original = GameFiles();
    const std::filesystem::path package = ExportedPackage(415, "cheetah.car");
    ASSERT_TRUE(OneSuccess(ImportPackage(package, 0)));
    const TGameFiles imported = GameFiles();

    std::wstring question;
    EXPECT_TRUE(UndoFromMenu(IDNO, 0, &question).empty());
    EXPECT_TRUE(Contains(question, L"400 (landstal)")) << Utf8(question);
    EXPECT_TRUE(Contains(question, package.filename().wstring())) << Utf8(question);
    EXPECT_TRUE(std::regex_search(question, std::wregex(L"Время: \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d")))
        << Utf8(question);
    EXPECT_TRUE(SameFiles(GameFiles(), imported)) << "no changes nothing";

    EXPECT_EQ(UndoFromMenu(IDYES, 1), std::vector<std::wstring>{Undone});
    EXPECT_TRUE(SameFiles(GameFiles(), original));
    EXPECT_EQ(Rows().front(), std::make_pair(std::wstring(L"400"), std::wstring(L"Landstalker")));
    EXPECT_TRUE(Contains(Wide(App->FormMain->VehicleDefs()->FindLastByID(400)->Line), L"richfamily"));

    std::vector<std::wstring> texts;
    EXPECT_NO_PROBLEMS(Menu(UndoImportMenu, [&](TUser& user) { texts = Boxes(user, 1); }));
    EXPECT_EQ(texts, std::vector<std::wstring>{NothingToUndo});
    EXPECT_TRUE(SameFiles(GameFiles(), original));
}

TEST_F(TImportRunTest, UndoRefusesWhenTheFilesChangedSinceTheImport)
{
    ASSERT_TRUE(OneSuccess(ImportFiles({{"Edit_GXT", L"Гепард"}}, 1)));
    TGameFiles changed = GameFiles();
    std::ofstream(GameDir() / "Text" / "American.gxt", std::ios::app) << "edited by hand";
    changed = GameFiles();
    TMessageBoxSeen refusal;
    EXPECT_NO_PROBLEMS(Menu(UndoImportMenu, [&](TUser& user) {
        const TMessageBoxSeen asked = AnswerBoxWith(user, IDYES);
        EXPECT_TRUE(Contains(asked.Text, L"отдельные файлы")) << Utf8(asked.Text);
        refusal = user.AnswerMessageBox();
    }));
    EXPECT_TRUE(refusal.HasIcon);
    // The reason once, in the interface's language: which import, which file.
    EXPECT_TRUE(refusal.Text.starts_with(L"Импорт поверх ")) << Utf8(refusal.Text);
    EXPECT_TRUE(Contains(refusal.Text, L"American.gxt изменился после этого импорта. Файлы игры не изменены."))
        << Utf8(refusal.Text);
    EXPECT_EQ(refusal.Text.find(L"не изменены"), refusal.Text.rfind(L"не изменены")) << Utf8(refusal.Text);
    EXPECT_FALSE(Contains(refusal.Text, L"has changed")) << Utf8(refusal.Text);
    EXPECT_TRUE(SameFiles(GameFiles(), changed));
}

TEST_F(TImportRunTest, AfterARebuildUndoOffersNoImportMadeBefore)
{
    ASSERT_TRUE(OneSuccess(ImportPackage(ExportedPackage(415, "cheetah.car"), 0)));
    std::wstring done;
    EXPECT_NO_PROBLEMS(Menu(RebuildArchiveMenu, [&](TUser& user) {
        AnswerBoxWith(user, IDYES);
        done = user.AnswerMessageBox().Text;
    }));
    EXPECT_TRUE(Contains(done, L"Архив перестроен")) << Utf8(done);
    const TGameFiles rebuilt = GameFiles();
    // No question about the retired import, and the plain answer in the interface's language.
    std::vector<std::wstring> texts;
    EXPECT_NO_PROBLEMS(Menu(UndoImportMenu, [&](TUser& user) { texts = Boxes(user, 1); }));
    EXPECT_EQ(texts, std::vector<std::wstring>{NothingToUndo});
    EXPECT_TRUE(SameFiles(GameFiles(), rebuilt));
}

TEST_F(TImportRunTest, DroppedPackageGoesStraightToTheTargetChoice)
{
    const std::filesystem::path package = ExportedPackage(415, "CHEETAH.CAR");
    // The wizard's own choices (separate files) do not matter for a drop.
    SendMessageW(ImportTyp().Control("Radio_ImportCAR"), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(ImportTyp().Control("Radio_ImportFiles"), BM_SETCHECK, BST_CHECKED, 0);
    std::vector<std::wstring> texts;
    EXPECT_NO_PROBLEMS(Drop({package.wstring()}, [&](TUser& user) {
        ReplaceRow(user, 0);
        texts = Boxes(user, 1);
        WaitWizardClosed();
    }));
    EXPECT_TRUE(OneSuccess(texts));
    EXPECT_TRUE(FileDialogs.Calls.empty()) << "no file dialog";
    EXPECT_TRUE(SameFiles(GameFiles(), ReferenceImport(400, package)));
    EXPECT_EQ(Rows().front(), std::make_pair(std::wstring(L"400"), std::wstring(L"Cheetah")));
    EXPECT_EQ(SendMessageW(ImportTyp().Control("Radio_ImportFiles"), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(TImportRunTest, DroppingAnythingButOnePackageIsRefused)
{
    const std::filesystem::path package = ExportedPackage(415, "cheetah.car");
    const std::filesystem::path text = WriteInput("notes.txt", GameFixture::ToBytes("notes"));
    const std::vector<std::vector<std::wstring>> drops{
        {text.wstring()},
        {package.wstring(), package.wstring()},
        {(Temp / "input").wstring()},
    };
    const TGameFiles before = GameFiles();
    for (const std::vector<std::wstring>& files : drops) {
        SCOPED_TRACE(Utf8(files.front()));
        std::vector<std::wstring> texts;
        EXPECT_NO_PROBLEMS(Drop(files, [&](TUser& user) { texts = Boxes(user, 1); }));
        EXPECT_EQ(texts, std::vector<std::wstring>{OnlyPackagesDrop});
        EXPECT_TRUE(SameFiles(GameFiles(), before));
    }
}

// A user exports a vehicle from one game, imports it over another vehicle of a
// second game, sees its name in the list and takes the import back.
TEST_F(TImportRunTest, ExportFromOneGameImportIntoAnotherAndUndo)
{
    const TGameFiles original = GameFiles();
    TGameFixtureContent otherContent = GameFixture::DefaultContent();
    for (TFixtureGXTText& text : otherContent.MainTable)
        if (text.Key == "CHEETAH")
            text.Text = CheetahInCp1251;
    const std::filesystem::path other = Temp / "Other";
    GameFixture::WriteGameDirectory(other, otherContent);
    const auto choosePath = [this](const std::filesystem::path& directory) {
        EXPECT_NO_PROBLEMS(Menu(GamePathMenu, [&](TUser& user) {
            user.WaitShown(App->FormPath->Handle(), "the path dialog");
            user.SetText(App->FormPath->Control("Edit_Path"), directory.wstring());
            user.Click(App->FormPath->Control("Button_OK"));
            user.WaitHidden(App->FormPath->Handle(), "the path dialog");
        }));
    };

    choosePath(other);
    ASSERT_EQ(Rows()[1], std::make_pair(std::wstring(L"415"), std::wstring(L"Гепард")));
    for (const char* piece : {"Check_Handling", "Check_Vehicles", "Check_Carcols"})
        SendMessageW(App->FormMain->Control(piece), BM_CLICK, 0, 0);
    SelectRow(1);
    const std::filesystem::path package = Temp / "gepard.car";
    FileDialogs.Answers = {package.wstring()};
    EXPECT_NO_PROBLEMS(ClickMain("Button_Export", [](TUser& user) { user.AnswerMessageBox(); }));
    ASSERT_TRUE(std::filesystem::exists(package));

    choosePath(GameDir());
    EXPECT_TRUE(OneSuccess(ImportPackage(package, 3)));
    EXPECT_EQ(Rows()[3], std::make_pair(std::wstring(L"596"), std::wstring(L"Гепард")));
    const TGameFiles imported = GameFiles();
    EXPECT_EQ(GameFixture::GXTMainText(imported.at("Text/American.gxt"), "POLICAR"), CheetahInCp1251);
    EXPECT_NE(imported.at("Data/Handling.cfg"), original.at("Data/Handling.cfg"));

    EXPECT_EQ(UndoFromMenu(IDYES, 1), std::vector<std::wstring>{Undone});
    EXPECT_EQ(Rows()[3], std::make_pair(std::wstring(L"596"), std::wstring(L"Police")));
    EXPECT_TRUE(SameFiles(GameFiles(), original));
}

} // namespace
