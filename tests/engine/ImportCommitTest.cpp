// What a commit records is what lies on disk: the checksums that undo later
// compares against (taken partly while the data was written) equal those of
// the files and archive regions read back after the import.

#include "support/PackageBuilder.h"

#include "archive/ArchiveLayout.h"
#include "fileio/FileSystem.h"
#include "engine/Import.h"
#include "engine/Journal.h"
#include "engine/JournalManifest.h"
#include "engine/JournalRestore.h"
#include "engine/JournalStore.h"

#include <gtest/gtest.h>

using namespace vehmira::archive;
using namespace vehmira::engine;
using namespace vehmira::fileio;

namespace {

TEST(ImportCommit, RecordedChecksumsMatchTheBytesOnDisk)
{
    const struct {
        const char* Name;
        TGameFixtureContent Content;
        std::size_t ModelBytes;
    } cases[] = {
        {"over existing entries", GameFixture::DefaultContent(), 9000},
        {"new entries in a full directory", FullDirectoryWithoutTarget(), 9000},
        {"a model of whole sectors", GameFixture::DefaultContent(), 4096},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.Name);
        TFixtureGame game(test.Content);
        const std::filesystem::path package = game.Outside("infernus.car");
        ReplaceFileAtomically(package, InfernusPackage(test.ModelBytes));
        const TImportResult result = ImportVehicle(game.Context(), game.Vehicle(415), package);
        const TJournalManifest manifest = LoadManifest(JournalRoot(game.GameDirectory()) / result.JournalId);
        ASSERT_EQ(manifest.State, TJournalState::Committed);

        TFileStream& archive = game.Archive.File();
        // The archive is never replaced: the journal records its directory and length.
        EXPECT_FALSE(manifest.ArchiveReplaced);
        EXPECT_TRUE(manifest.Ranges.empty());
        EXPECT_EQ(manifest.ArchiveLengthAfter, archive.Size());
        EXPECT_GE(manifest.ArchiveLengthAfter, manifest.ArchiveLength);
        for (const TArchiveRange& range : manifest.Written)
            EXPECT_EQ(range.CRCAfter, StreamRangeCRC(archive, range.Offset, range.Offset + range.Length));
        EXPECT_EQ(manifest.HeadCRCAfter, StreamRangeCRC(archive, 0, manifest.HeadLength));
        EXPECT_EQ(manifest.AppendedCRCAfter,
                  StreamRangeCRC(archive, manifest.ArchiveLength, manifest.ArchiveLengthAfter));
        ASSERT_FALSE(manifest.Files.empty());
        for (const TJournaledFile& file : manifest.Files) {
            const TFileFingerprint now = FingerprintOfFile(JournaledPath(game.GameDirectory(), file.RelativePath));
            EXPECT_TRUE(now.Present && file.After.Present) << file.RelativePath;
            EXPECT_EQ(now.Length, file.After.Length) << file.RelativePath;
            EXPECT_EQ(now.CRC, file.After.CRC) << file.RelativePath;
        }
        EXPECT_EQ(FileChangedSinceCommit(game.GameDirectory(), manifest, archive), std::nullopt);
        // The import leaves no temporary file beside the game files it replaced.
        for (const auto& [name, bytes] : game.Files())
            EXPECT_EQ(name.find(".vehmira-tmp-"), std::string::npos) << name;
        // The archive's directory on disk is the one in memory.
        TIMGFile reread;
        game.Archive.Close();
        reread.Open(ResolveGamePath(game.GameDirectory(), GameFiles::ModelArchive));
        EXPECT_NE(reread.Directory.FindEntry("cheetah.dff"), nullptr);
        EXPECT_NE(reread.Directory.FindEntry("cheetah.txd"), nullptr);
    }
}

TEST(ImportCommit, DataThatFitAlsoGoElsewhereAndUndoPutsTheDirectoryBack)
{
    TFixtureGame game;
    const auto archivePath = ResolveGamePath(game.GameDirectory(), GameFiles::ModelArchive);
    ASSERT_TRUE(AnalyseLayout(game.Archive.File()).ReadsCorrectly());
    const auto before = game.Files();
    const std::uint64_t length = game.Archive.File().Size();
    const std::filesystem::path package = game.Outside("infernus.car");
    ReplaceFileAtomically(package, InfernusPackage(6000)); // cheetah.dff and .txd take 3 sectors each
    ImportVehicle(game.Context(), game.Vehicle(415), package);
    EXPECT_GT(game.Archive.File().Size(), length);
    EXPECT_TRUE(AnalyseLayout(game.Archive.File()).ReadsCorrectly());
    const ByteBuffer model = GameFixture::RenderWareBytes(RwClumpChunk, 6000, 21);
    TMemoryStream extracted;
    game.Archive.ExtractToStream(extracted, 0, "cheetah.dff");
    EXPECT_EQ(extracted.Bytes(), GameFixture::SectorPadded(model));

    UndoLastImport(game.Context());
    EXPECT_EQ(game.Files(), before);
    game.Archive.Close();
    EXPECT_TRUE(AnalyseLayout(archivePath).ReadsCorrectly());
}

} // namespace
