// How failures reach the user: the error box's text rule, plain boxes for the
// program's own checks, and no exception ever escaping a handler.

#include "gui/GuiFixture.h"
#include "gui/framework/ErrorBox.h"
#include "gui/windows/FormMain.h"
#include "gui/framework/WideText.h"
#include "fileio/FileStream.h"

#include <fstream>

using namespace vehmira::gui;
using namespace vehmira::gui::framework;

namespace {

TEST(ErrorBoxText, AppendsAFullStopUnlessTheLastCharacterIsAtMostAFullStop)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"File not found", L"File not found."},
        {L"Готово.", L"Готово."},
        {L"GXT-File Error!!!", L"GXT-File Error!!!"},
        {L"a,", L"a,"},
        {L"trailing blank ", L"trailing blank "},
        {L"dash-", L"dash-"},     // "-" comes before "."
        {L"slash/", L"slash/."},  // "/" comes after it
        {L"Ошибка", L"Ошибка."},   // every Cyrillic letter comes after it
        {L"", L""},
    };
    for (const auto& [text, shown] : cases)
        EXPECT_EQ(ErrorBoxText(text), shown) << Utf8(text);
}

class TErrorBoxTest : public TGuiTest {};

TEST_F(TErrorBoxTest, AFileThatIsNoGxtFileShowsThePlainMessageOnly)
{
    WriteGame();
    WriteCompleteSettings();
    std::ofstream(GameDir() / "Text" / "American.gxt", std::ios::binary | std::ios::trunc) << "not a GXT file";
    EXPECT_NO_PROBLEMS(Start([](TUser& user) {
        const TMessageBoxSeen box = user.AnswerMessageBox();
        EXPECT_EQ(box.Text, L"GXT-File Error!!!");
        EXPECT_EQ(box.Title, L"Vehmira");
        EXPECT_FALSE(box.HasIcon);
        // A second box would be reported as unexpected once this one is gone.
    }));
    EXPECT_TRUE(Rows().empty());
}

TEST_F(TErrorBoxTest, AnUnreadableDefinitionsFileEndsTheStartUpWithAnErrorBox)
{
    WriteGame();
    WriteCompleteSettings();
    std::filesystem::remove(GameDir() / "Data" / "Vehicles.ide");
    EXPECT_NO_PROBLEMS(Start([](TUser& user) {
        const TMessageBoxSeen box = user.AnswerMessageBox();
        EXPECT_EQ(box.Title, L"Vehmira");
        EXPECT_TRUE(box.HasIcon);
        ASSERT_FALSE(box.Text.empty());
        EXPECT_EQ(box.Text.back(), L'.');
    }));
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(IsWindow(App->FormMain->Handle())) << "the program keeps running";
}

TEST_F(TErrorBoxTest, AnArchiveAnotherProgramHoldsIsToldInTheWindowsWords)
{
    WriteGame();
    WriteCompleteSettings();
    // As the running game holds it: without sharing.
    const vehmira::fileio::TFileStream held(GameDir() / "Models" / "GTA3.img",
                                            vehmira::fileio::TFileAccess::ReadWriteExclusive);
    EXPECT_NO_PROBLEMS(Start([](TUser& user) {
        const TMessageBoxSeen box = user.AnswerMessageBox();
        EXPECT_TRUE(box.HasIcon);
        EXPECT_EQ(box.Text.rfind(L"Файл \"", 0), 0u) << Utf8(box.Text);
        EXPECT_NE(box.Text.find(L"GTA3.img\" занят другой программой. Закройте игру"), std::wstring::npos)
            << Utf8(box.Text);
    }));
    EXPECT_TRUE(Rows().empty());
}

} // namespace
