// A session holds the game's archive only while one of its operations runs:
// between operations the game and other tools open it, and what they changed
// meanwhile is what the next operation sees.

#include "support/GameFixture.h"
#include "support/TempDir.h"

#include "archive/IMG.h"
#include "fileio/Errors.h"
#include "fileio/FileStream.h"
#include "operations/ArchiveOperations.h"
#include "operations/Operations.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vehmira;
using namespace vehmira::operations;

namespace {

class TSilentObserver : public TOperationObserver {
public:
    void InterruptedImportsRestored(const std::vector<std::string>&) override {}
};

class TGameSessionTest : public ::testing::Test {
protected:
    TGameSessionTest() { GameFixture::WriteGameDirectory(Temp.Path()); }

    std::filesystem::path ArchivePath() const { return Temp / "Models/GTA3.img"; }

    // Opens the archive as no other program may open it beside a holder.
    testing::AssertionResult OpensExclusively() const
    {
        try {
            fileio::TFileStream other(ArchivePath(), fileio::TFileAccess::ReadWriteExclusive);
        } catch (const fileio::TVehmiraError& error) {
            return testing::AssertionFailure() << "the archive is held: " << error.what();
        }
        return testing::AssertionSuccess();
    }

    TTempDir Temp;
    TSilentObserver Observer;
};

TEST_F(TGameSessionTest, EveryOperationLetsGoOfTheArchiveHoweverItEnds)
{
    TGameSession session({Temp.Path(), "American.gxt"}, Observer);
    EXPECT_FALSE(session.HoldsArchive()) << "opening the game";
    EXPECT_TRUE(OpensExclusively());

    const std::filesystem::path package = Temp / "cheetah.car";
    ExportVehicleByID(session, 415, engine::TExportChoices{}, package);
    EXPECT_FALSE(session.HoldsArchive()) << "export";
    EXPECT_TRUE(OpensExclusively());

    CheckArchive(session);
    EXPECT_FALSE(session.HoldsArchive()) << "archive check";

    ImportOverVehicle(session, 400, engine::TImportSource(package), TCheckPolicy::ImportDespiteErrors);
    EXPECT_FALSE(session.HoldsArchive()) << "import";
    EXPECT_TRUE(OpensExclusively());

    UndoImport(session);
    EXPECT_FALSE(session.HoldsArchive()) << "undo";

    EXPECT_THROW(ExportVehicleByID(session, 999, engine::TExportChoices{}, Temp / "none.car"),
                 fileio::TVehmiraError);
    EXPECT_FALSE(session.HoldsArchive()) << "a failed export";
    EXPECT_TRUE(OpensExclusively());
}

TEST_F(TGameSessionTest, AnArchiveAnotherProgramHoldsIsToldAndTheNextOperationWorks)
{
    TGameSession session({Temp.Path(), "American.gxt"}, Observer);
    {
        const fileio::TFileStream game(ArchivePath(), fileio::TFileAccess::ReadWriteExclusive);
        try {
            CheckArchive(session);
            ADD_FAILURE() << "the check opened an archive another program holds";
        } catch (const fileio::TVehmiraError& error) {
            EXPECT_EQ(error.Kind(), fileio::TErrorKind::FileInUse);
        }
    }
    EXPECT_TRUE(CheckArchive(session).ReadsCorrectly());
}

TEST_F(TGameSessionTest, TheNextOperationSeesWhatAnotherToolWroteMeanwhile)
{
    TGameSession session({Temp.Path(), "American.gxt"}, Observer);
    {
        archive::TIMGFile other;
        other.Open(ArchivePath());
        const std::filesystem::path model = Temp.Write("extra.dff", GameFixture::ToText(
            GameFixture::RenderWareBytes(RwClumpChunk, 3000, 7)));
        other.AddFile(model, "extra.dff");
    }
    const auto& entries = session.Archive().Directory.Entries;
    EXPECT_TRUE(std::any_of(entries.begin(), entries.end(),
                            [](const auto& entry) { return entry.Name == "extra.dff"; }));
}

} // namespace
