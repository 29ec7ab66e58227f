// Opening a game directory first rolls back an import that was cut off.

#include "fileio/FaultInjection.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "gui/GuiFixture.h"
#include "engine/Import.h"
#include "engine/Journal.h"
#include "gui/windows/FormMain.h"
#include "gui/windows/FormPath.h"
#include "gui/windows/MainMenu.h"
#include "gui/framework/WideText.h"

using namespace vehmira::gui;
using namespace vehmira::archive;
using namespace vehmira::engine;
using namespace vehmira::fileio;
using namespace vehmira::gamedata;
using namespace vehmira::gui::framework;

namespace {

class TRecoveryTest : public TGuiTest {
protected:
    // Renames vehicle 415 with the disk failing for good from the given
    // operation on, as at a power loss. True when that left the GXT file changed.
    bool CutOffRename(int failAt)
    {
        TIMGFile archive;
        archive.Open(ResolveGamePath(GameDir(), GameFiles::ModelArchive));
        TVehicleFile definitions;
        definitions.LoadFromFile(ResolveGamePath(GameDir(), GameFiles::VehicleDefinitions));
        const TGameContext game{GameDir(), "American.gxt", &archive};
        TImportFiles rename;
        rename.Name = "Renamed";
        FaultInjection::FailAtOperation(failAt, true);
        bool failed = false;
        try {
            ImportVehicle(game, *definitions.FindLastByID(415), rename);
        } catch (const std::exception&) {
            failed = true;
        }
        FaultInjection::FailAtOperation(0);
        return failed && ReadWholeFile(GameDir() / "Text" / "American.gxt") != OriginalGXT;
    }

    ByteBuffer OriginalGXT;
};

TEST_F(TRecoveryTest, StartUpRestoresAnInterruptedImportAndSaysSo)
{
    bool cutOff = false;
    for (int failAt = 1; failAt < 100 && !cutOff; ++failAt) {
        std::filesystem::remove_all(GameDir());
        WriteGame();
        OriginalGXT = ReadWholeFile(GameDir() / "Text" / "American.gxt");
        cutOff = CutOffRename(failAt);
    }
    ASSERT_TRUE(cutOff) << "no operation left the import half done";
    WriteCompleteSettings();
    EXPECT_NO_PROBLEMS(Start([](TUser& user) {
        const TMessageBoxSeen box = user.AnswerMessageBox();
        EXPECT_FALSE(box.HasIcon);
        EXPECT_EQ(box.Text.rfind(L"Прерванный импорт отменён", 0), 0u) << Utf8(box.Text);
    }));
    EXPECT_EQ(ReadWholeFile(GameDir() / "Text" / "American.gxt"), OriginalGXT);
    EXPECT_EQ(Rows()[1], (std::pair<std::wstring, std::wstring>{L"415", L"Cheetah"}));
    // Nothing is left to restore: the next opening says nothing.
    EXPECT_NO_PROBLEMS(Menu(GamePathMenu, [&](TUser& user) {
        user.WaitShown(App->FormPath->Handle(), "the path dialog");
        user.Click(App->FormPath->Control("Button_Cancel"));
        user.WaitHidden(App->FormPath->Handle(), "the path dialog");
    }));
}

} // namespace
