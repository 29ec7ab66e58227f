// The archive commands of the "Файл" menu and the question at opening when
// another tool left the archive in an order the game's streamer misreads.

#include "gui/GuiFixture.h"
#include "gui/ImportGuiSupport.h"
#include "gui/framework/WideText.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormPath.h"
#include "gui/windows/MainMenu.h"

#include "fileio/ByteOrder.h"
#include "fileio/FileSystem.h"

using namespace vehmira::gui;
using namespace vehmira::fileio;
using namespace vehmira::gui::framework;

namespace {

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

class TArchiveMenuTest : public TGuiTest {
protected:
    std::filesystem::path ArchivePath() const { return GameDir() / "Models" / "GTA3.img"; }

    // As another archive tool leaves it: the second entry's data moved to the
    // end of the file, its directory record kept in place.
    void MoveSecondEntryToTheEnd()
    {
        ByteBuffer bytes = ReadWholeFile(ArchivePath());
        constexpr std::size_t Record = 8 + 32;
        const std::uint32_t offset = LoadU32LE(std::span(bytes).subspan(Record).first<4>());
        const std::uint32_t size = LoadU32LE(std::span(bytes).subspan(Record + 4).first<4>());
        const ByteBuffer data(bytes.begin() + std::ptrdiff_t(offset) * 2048,
                              bytes.begin() + std::ptrdiff_t(offset + size) * 2048);
        const std::uint32_t moved = std::uint32_t(bytes.size() / 2048);
        bytes.insert(bytes.end(), data.begin(), data.end());
        StoreU32LE(std::span(bytes).subspan(Record).first<4>(), moved);
        ReplaceFileAtomically(ArchivePath(), bytes);
    }

    // As many imports leave it: four times the archive's size after its end,
    // under a free record (the last record, whose entry the check need not find).
    void FreeMostOfTheArchive()
    {
        ByteBuffer bytes = ReadWholeFile(ArchivePath());
        const std::uint32_t count = LoadU32LE(std::span(bytes).subspan(4).first<4>());
        const std::size_t record = 8 + 32 * std::size_t(count - 1);
        const std::size_t end = (bytes.size() + 2047) / 2048;
        const std::size_t added = end * 4;
        bytes.resize((end + added) * 2048, 0);
        StoreU32LE(std::span(bytes).subspan(record).first<4>(), std::uint32_t(end));
        StoreU32LE(std::span(bytes).subspan(record + 4).first<4>(), std::uint32_t(added));
        const std::string name = "vehmira-free-000001";
        std::fill_n(bytes.begin() + std::ptrdiff_t(record + 8), 24, std::uint8_t(0));
        std::copy(name.begin(), name.end(), bytes.begin() + std::ptrdiff_t(record + 8));
        ReplaceFileAtomically(ArchivePath(), bytes);
    }

    std::wstring CheckText()
    {
        std::wstring text;
        EXPECT_NO_PROBLEMS(Menu(CheckArchiveMenu, [&](TUser& user) { text = user.AnswerMessageBox().Text; }));
        return text;
    }
};

TEST_F(TArchiveMenuTest, CheckShowsTheFiguresOfASoundArchive)
{
    WriteGame();
    WriteCompleteSettings();
    EXPECT_NO_PROBLEMS(Start());
    const std::wstring text = CheckText();
    EXPECT_TRUE(Contains(text, L"Из них игра прочитает неверно: 0")) << Utf8(text);
    EXPECT_TRUE(Contains(text, L"Архив в порядке")) << Utf8(text);
}

TEST_F(TArchiveMenuTest, AMisreadArchiveIsReportedOnceAtOpeningAndRebuiltFromTheMenu)
{
    WriteGame();
    MoveSecondEntryToTheEnd();
    WriteCompleteSettings();
    std::wstring question;
    EXPECT_NO_PROBLEMS(Start([&](TUser& user) { question = AnswerBoxWith(user, IDNO).Text; }));
    EXPECT_TRUE(Contains(question, L"Перестроить архив сейчас?")) << Utf8(question);
    // A rebuild replaces the whole archive, which ends undo of the imports before it.
    EXPECT_TRUE(Contains(question, L"после неё отменить будет нельзя")) << Utf8(question);
    EXPECT_TRUE(Contains(CheckText(), L"Игра прочитает неверно"));

    // Opening the same archive again asks no more.
    EXPECT_NO_PROBLEMS(Menu(GamePathMenu, [&](TUser& user) {
        user.WaitShown(App->FormPath->Handle(), "the path dialog");
        user.Click(App->FormPath->Control("Button_Cancel"));
        user.WaitHidden(App->FormPath->Handle(), "the path dialog");
    }));

    std::wstring rebuildQuestion, done;
    EXPECT_NO_PROBLEMS(Menu(RebuildArchiveMenu, [&](TUser& user) {
        rebuildQuestion = AnswerBoxWith(user, IDYES).Text;
        done = user.AnswerMessageBox().Text;
    }));
    EXPECT_TRUE(Contains(rebuildQuestion, L"после неё отменить будет нельзя")) << Utf8(rebuildQuestion);
    EXPECT_TRUE(Contains(done, L"Архив перестроен")) << Utf8(done);
    EXPECT_TRUE(Contains(CheckText(), L"Архив в порядке"));
    EXPECT_EQ(Rows().size(), 4u) << "the vehicles are still listed";

    // Asked again of the sound archive: nothing is written, and it says so.
    const std::filesystem::path archive = GameDir() / "Models" / "GTA3.img";
    const auto writtenBefore = std::filesystem::last_write_time(archive);
    std::wstring again;
    EXPECT_NO_PROBLEMS(Menu(RebuildArchiveMenu, [&](TUser& user) {
        AnswerBoxWith(user, IDYES);
        again = user.AnswerMessageBox().Text;
    }));
    EXPECT_EQ(again, L"Архив перестраивать не нужно: его данные уже лежат подряд. Файл не изменён.");
    EXPECT_EQ(std::filesystem::last_write_time(archive), writtenBefore);
}

TEST_F(TArchiveMenuTest, TheCheckShowsFreeSpaceAndOffersToReclaimItWhenLarge)
{
    WriteGame();
    FreeMostOfTheArchive();
    WriteCompleteSettings();
    EXPECT_NO_PROBLEMS(Start());
    std::wstring question, done;
    EXPECT_NO_PROBLEMS(Menu(CheckArchiveMenu, [&](TUser& user) {
        question = AnswerBoxWith(user, IDYES).Text;
        done = user.AnswerMessageBox().Text;
    }));
    EXPECT_TRUE(Contains(question, L"Свободных записей: 1")) << Utf8(question);
    EXPECT_TRUE(Contains(question, L"Свободные записи занимают 8")) << Utf8(question); // 80 % and more
    EXPECT_TRUE(Contains(question, L"после неё отменить будет нельзя")) << Utf8(question);
    EXPECT_TRUE(Contains(done, L"Архив перестроен")) << Utf8(done);
    const std::wstring after = CheckText();
    EXPECT_TRUE(Contains(after, L"Свободных записей: 0")) << Utf8(after);
    EXPECT_TRUE(Contains(after, L"Байт под свободными записями: 0")) << Utf8(after);
}

TEST_F(TArchiveMenuTest, YesAtOpeningRebuildsAtOnce)
{
    WriteGame();
    MoveSecondEntryToTheEnd();
    WriteCompleteSettings();
    std::wstring done;
    EXPECT_NO_PROBLEMS(Start([&](TUser& user) {
        AnswerBoxWith(user, IDYES);
        done = user.AnswerMessageBox().Text;
    }));
    EXPECT_TRUE(Contains(done, L"Архив перестроен")) << Utf8(done);
    EXPECT_TRUE(Contains(CheckText(), L"Из них игра прочитает неверно: 0"));
}

TEST_F(TArchiveMenuTest, ArchiveCommandsWithoutAnOpenGameSaySo)
{
    WriteSettings(std::nullopt, L"English", L"American.gxt");
    EXPECT_NO_PROBLEMS(Start([&](TUser& user) {
        user.WaitShown(App->FormPath->Handle(), "the path dialog");
        user.Click(App->FormPath->Control("Button_Cancel"));
        user.WaitHidden(App->FormPath->Handle(), "the path dialog");
    }));
    for (const int command : {CheckArchiveMenu, RebuildArchiveMenu}) {
        std::wstring text;
        EXPECT_NO_PROBLEMS(Menu(command, [&](TUser& user) { text = user.AnswerMessageBox().Text; }));
        EXPECT_TRUE(Contains(text, L"Каталог игры не открыт")) << Utf8(text);
    }
}

} // namespace
