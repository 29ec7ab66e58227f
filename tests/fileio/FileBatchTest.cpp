// Several files replaced in one batch, and what a file stream tells its observer.

#include "fileio/Errors.h"
#include "fileio/FaultInjection.h"
#include "fileio/FileStream.h"
#include "fileio/FileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

using namespace vehmira::fileio;

namespace {

std::span<const std::uint8_t> BytesOf(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

struct TBatchGame {
    TTempDir Dir;
    std::vector<std::filesystem::path> Paths{Dir.Write("Data/Handling.cfg", "old handling"),
                                             Dir.Write("Data/Carcols.dat", "old carcols"),
                                             Dir / "Data/extra.dat", // not there yet
                                             Dir.Write("Text/American.gxt", "old text")};
    std::vector<std::string> Old{"old handling", "old carcols", "", "old text"};
    std::vector<std::string> New{"new handling", "new carcols\r\n", "created", ""};

    std::vector<TFileReplacement> Replacements() const
    {
        std::vector<TFileReplacement> replacements;
        for (std::size_t i = 0; i < Paths.size(); ++i)
            replacements.push_back({Paths[i], BytesOf(New[i])});
        return replacements;
    }
};

TEST(FileBatch, ReplacesEveryFileAndLeavesNoTemporary)
{
    TBatchGame game;
    ReplaceFilesAtomically(game.Replacements());
    for (std::size_t i = 0; i < game.Paths.size(); ++i)
        EXPECT_EQ(ReadText(game.Paths[i]), game.New[i]) << game.Paths[i];
    EXPECT_EQ(game.Dir.List("Data"), (std::vector<std::string>{"Carcols.dat", "Handling.cfg", "extra.dat"}));
    EXPECT_EQ(game.Dir.List("Text"), std::vector<std::string>{"American.gxt"});
}

TEST(FileBatch, FlushesEachDirectoryOnceAndCountsFewerOperationsThanOneByOne)
{
    TBatchGame game;
    FaultInjection::FailAtOperation(0);
    ReplaceFilesAtomically(game.Replacements());
    const int batched = FaultInjection::OperationsSeen();
    FaultInjection::FailAtOperation(0);
    for (const TFileReplacement& replacement : game.Replacements())
        ReplaceFileAtomically(replacement.Path, replacement.Bytes);
    const int oneByOne = FaultInjection::OperationsSeen();
    // Each file: open, write, flush, rename; then the directories.
#ifdef _WIN32
    EXPECT_EQ(batched, 4 * 4);
    EXPECT_EQ(oneByOne, 4 * 4);
#else
    EXPECT_EQ(batched, 4 * 4 + 2);
    EXPECT_EQ(oneByOne, 4 * 5);
#endif
}

TEST(FileBatch, FailingAtAnyStepLeavesEachFileWholeAndNoTemporary)
{
    for (int failing = 1;; ++failing) {
        SCOPED_TRACE("failing operation " + std::to_string(failing));
        TBatchGame game;
        FaultInjection::FailAtOperation(failing);
        bool failed = false;
        try {
            ReplaceFilesAtomically(game.Replacements());
        } catch (const TVehmiraError&) {
            failed = true;
        }
        FaultInjection::FailAtOperation(0);
        for (std::size_t i = 0; i < game.Paths.size(); ++i) {
            const bool present = FileExists(game.Paths[i]);
            const std::string now = present ? ReadText(game.Paths[i]) : "";
            if (!failed)
                EXPECT_EQ(now, game.New[i]);
            else if (i == 2)
                EXPECT_TRUE(!present || now == game.New[i]);
            else
                EXPECT_TRUE(now == game.Old[i] || now == game.New[i]) << now;
        }
        const std::size_t dataFiles = FileExists(game.Paths[2]) ? 3 : 2;
        EXPECT_EQ(game.Dir.List("Data").size(), dataFiles) << "a temporary was left behind";
        EXPECT_EQ(game.Dir.List("Text").size(), 1u) << "a temporary was left behind";
        if (!failed)
            break;
        ASSERT_LT(failing, 100);
    }
}

// Records what the stream reports, as text.
class TRecordingObserver final : public TWriteObserver {
public:
    std::vector<std::string> Events;
    void Written(std::uint64_t position, std::span<const std::uint8_t> bytes) override
    {
        Events.push_back("write " + std::to_string(position) + " " +
                         std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    void Truncated(std::uint64_t size) override { Events.push_back("truncate " + std::to_string(size)); }
    void LostTrack() override { Events.push_back("lost"); }
    void StreamClosed() override { Events.push_back("closed"); }
};

TEST(FileStreamObserver, IsToldOfEveryWriteTruncationFailureAndTheClose)
{
    TTempDir dir;
    TRecordingObserver observer;
    {
        auto file = std::make_unique<TFileStream>(dir.Write("a.bin", "0123456789"), TFileAccess::ReadWriteExclusive);
        file->SetObserver(&observer);
        file->Seek(3);
        file->Write(BytesOf("abc"));
        file->Write(BytesOf("de"));
        file->Truncate(4);
        file->Flush();
        FaultInjection::FailAtOperation(1);
        EXPECT_THROW(file->Write(BytesOf("x")), TVehmiraError);
        FaultInjection::FailAtOperation(1);
        EXPECT_THROW(file->Truncate(1), TVehmiraError);
        FaultInjection::FailAtOperation(0);
    }
    EXPECT_EQ(observer.Events,
              (std::vector<std::string>{"write 3 abc", "write 6 de", "truncate 4", "lost", "lost", "closed"}));
    EXPECT_EQ(ReadText(dir / "a.bin"), "012a");
}

TEST(FileBatch, OverwritesInPlaceShorterLongerAndMissingFiles)
{
    TBatchGame game;
    // A second name for the file: written in place, both see the new bytes;
    // a temporary renamed over it would leave the link on the old ones.
    const std::filesystem::path link = game.Dir / "Data/Handling.link";
    std::filesystem::create_hard_link(game.Paths[0], link);
    OverwriteJournaledFiles(game.Replacements());
    for (std::size_t i = 0; i < game.Paths.size(); ++i)
        EXPECT_EQ(ReadText(game.Paths[i]), game.New[i]) << game.Paths[i];
    EXPECT_EQ(ReadText(link), game.New[0]);
    EXPECT_EQ(game.Dir.List("Data"),
              (std::vector<std::string>{"Carcols.dat", "Handling.cfg", "Handling.link", "extra.dat"}));
    EXPECT_EQ(game.Dir.List("Text"), std::vector<std::string>{"American.gxt"});
}

} // namespace
