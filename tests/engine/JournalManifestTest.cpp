// The journal's manifest text and its ids: what recovery trusts after a crash.

#include "engine/JournalManifest.h"
#include "engine/JournalStore.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "gamedata/CRC32.h"
#include "engine/JournalRestore.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace vehmira::engine;
using namespace vehmira::fileio;
using namespace vehmira::gamedata;

namespace {

TJournalManifest CommittedManifest()
{
    TJournalManifest manifest;
    manifest.State = TJournalState::Committed;
    manifest.Target = "415 (cheetah)";
    manifest.Source = "C:\\cars\\line\nbreak\\n=\r.car"; // every escaped character, and "="
    manifest.Time = "2024-01-31 23:59:59";
    manifest.ArchiveRelativePath = "Models/GTA3.img";
    manifest.ArchiveLength = 1ull << 32; // past 32 bits
    manifest.HeadLength = 4096;
    manifest.HeadCRC = 0x0000ABCDu;
    manifest.Files = {
        {"Data/Handling.cfg", {true, 120, 0xFFFFFFFFu}, {true, 130, 0x12345678u}},
        {"Data/extra.dat", {false, 0, 0}, {true, 1, 1}},
        {"Text/american.gxt", {true, 0, 0}, {false, 0, 0}},
    };
    manifest.ArchiveLengthAfter = (1ull << 32) + 8192;
    manifest.HeadCRCAfter = 1;
    manifest.AppendedCRCAfter = 0x80000000u;
    return manifest;
}

void ExpectSame(const TJournalManifest& a, const TJournalManifest& b)
{
    EXPECT_EQ(a.State, b.State);
    EXPECT_EQ(a.Target, b.Target);
    EXPECT_EQ(a.Source, b.Source);
    EXPECT_EQ(a.Time, b.Time);
    EXPECT_EQ(a.Retired, b.Retired);
    EXPECT_EQ(a.ArchiveRelativePath, b.ArchiveRelativePath);
    EXPECT_EQ(a.ArchiveLength, b.ArchiveLength);
    EXPECT_EQ(a.HeadLength, b.HeadLength);
    EXPECT_EQ(a.HeadCRC, b.HeadCRC);
    ASSERT_EQ(a.Files.size(), b.Files.size());
    for (std::size_t i = 0; i < a.Files.size(); ++i) {
        EXPECT_EQ(a.Files[i].RelativePath, b.Files[i].RelativePath);
        for (const auto& [x, y] : {std::pair(a.Files[i].Before, b.Files[i].Before),
                                   std::pair(a.Files[i].After, b.Files[i].After)}) {
            EXPECT_EQ(x.Present, y.Present);
            EXPECT_EQ(x.Length, y.Length);
            EXPECT_EQ(x.CRC, y.CRC);
        }
    }
    EXPECT_EQ(a.ArchiveLengthAfter, b.ArchiveLengthAfter);
    EXPECT_EQ(a.HeadCRCAfter, b.HeadCRCAfter);
    EXPECT_EQ(a.AppendedCRCAfter, b.AppendedCRCAfter);
}

TEST(JournalManifestTest, RoundTripsEveryStateAndValue)
{
    for (const TJournalState state :
         {TJournalState::Committed, TJournalState::Undoing, TJournalState::Undone}) {
        TJournalManifest manifest = CommittedManifest();
        manifest.State = state;
        const std::string text = ManifestToText(manifest);
        EXPECT_EQ(text.find('\r'), std::string::npos);
        ExpectSame(ManifestFromText(text), manifest);
    }
    // Retired by a rebuild: one key more, which a manifest without it lacks.
    TJournalManifest retired = CommittedManifest();
    retired.Retired = true;
    const std::string retiredText = ManifestToText(retired);
    ExpectSame(ManifestFromText(retiredText), retired);
    EXPECT_NE(retiredText.find("\nretired=1\n"), std::string::npos) << retiredText;
    EXPECT_EQ(ManifestToText(CommittedManifest()).find("retired"), std::string::npos);
    EXPECT_FALSE(ManifestFromText(ManifestToText(CommittedManifest())).Retired);
    // A pending manifest carries no state after the import.
    TJournalManifest pending = CommittedManifest();
    pending.State = TJournalState::Pending;
    pending.ArchiveLengthAfter = 0;
    pending.HeadCRCAfter = 0;
    pending.AppendedCRCAfter = 0;
    for (TJournaledFile& file : pending.Files)
        file.After = {};
    ExpectSame(ManifestFromText(ManifestToText(pending)), pending);
    EXPECT_EQ(ManifestToText(pending).find("after"), std::string::npos);
}

TEST(JournalManifestTest, RefusesDamagedOrUnsafeManifests)
{
    const std::string good = ManifestToText(CommittedManifest());
    const auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        const std::size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return text.replace(at, from.size(), to);
    };
    const struct {
        const char* Name;
        std::string Text;
    } cases[] = {
        {"empty", ""},
        {"unknown format", replaced("format=2", "format=3")},
        {"unknown state", replaced("state=committed", "state=done")},
        {"missing key", replaced("archive.length=", "archive.lenght=")},
        {"number with junk", replaced("archive.length=4294967296", "archive.length=42x")},
        {"negative number", replaced("archive.length=4294967296", "archive.length=-1")},
        {"number too large", replaced("archive.length=4294967296", "archive.length=99999999999999999999999")},
        {"short checksum", replaced("archive.head.crc=0000abcd", "archive.head.crc=abcd")},
        {"flag not 0 or 1", replaced("file.0.existed=1", "file.0.existed=yes")},
        {"retired flag not 0 or 1", good + "retired=yes\n"},
        {"head longer than archive", replaced("archive.head.length=4096", "archive.head.length=4294967297")},
        {"line without =", good + "garbage\n"},
        {"lone backslash", replaced("target=415 (cheetah)", "target=415\\")},
        {"unknown escape", replaced("target=415 (cheetah)", "target=\\t")},
        {"too many files", replaced("files=3", "files=100000")},
        {"file missing", replaced("files=3", "files=4")},
        {"parent path", replaced("file.0=Data/Handling.cfg", "file.0=../outside.txt")},
        {"inner parent path", replaced("file.0=Data/Handling.cfg", "file.0=Data/../../outside.txt")},
        {"absolute path", replaced("file.0=Data/Handling.cfg", "file.0=/etc/passwd")},
        {"absolute archive", replaced("archive=Models/GTA3.img", "archive=/tmp/x.img")},
        {"empty path", replaced("file.0=Data/Handling.cfg", "file.0=")},
        // Backslashes separate components wherever the journal is read, as
        // they do when the path is resolved in the game directory.
        {"backslash parent path", replaced("file.0=Data/Handling.cfg", "file.0=\\\\..\\\\victim.txt")},
        {"backslash inner parent", replaced("file.0=Data/Handling.cfg", "file.0=Data\\\\..\\\\..\\\\x")},
        {"backslash root", replaced("archive=Models/GTA3.img", "archive=\\\\Models\\\\GTA3.img")},
        {"drive", replaced("file.0=Data/Handling.cfg", "file.0=C:x.txt")},
        {"stream", replaced("file.0=Data/Handling.cfg", "file.0=Data/Handling.cfg:hidden")},
        {"empty component", replaced("file.0=Data/Handling.cfg", "file.0=Data//Handling.cfg")},
        {"dot component", replaced("file.0=Data/Handling.cfg", "file.0=Data/./Handling.cfg")},
        {"parent with trailing space", replaced("file.0=Data/Handling.cfg", "file.0=Data/.. /x")},
    };
    for (const auto& test : cases)
        EXPECT_THROW(ManifestFromText(test.Text), TVehmiraError) << test.Name;
}

TEST(JournalManifestTest, IdsAlwaysIncreaseAndSortByAge)
{
    const std::time_t now = 1700000000;
    const std::string first = NextJournalId({}, now);
    ASSERT_EQ(first.size(), 22u);
    EXPECT_EQ(first.substr(15), "-000000");
    // Same second: the sequence continues.
    const std::string second = NextJournalId({first}, now);
    EXPECT_GT(second, first);
    EXPECT_EQ(second.substr(0, 15), first.substr(0, 15));
    EXPECT_EQ(second.substr(15), "-000001");
    // The clock went back an hour: still after the newest.
    const std::string third = NextJournalId({first, second}, now - 3600);
    EXPECT_GT(third, second);
    // A later time starts a new sequence.
    const std::string later = NextJournalId({first, second, third}, now + 60);
    EXPECT_GT(later, third);
    EXPECT_EQ(later.substr(15), "-000000");
}

// The checksums that undo compares are read in chunks; they must equal the
// checksum of the whole bytes at every chunk boundary.
TEST(JournalChecksumTest, ChunkedChecksumsEqualTheWholeBuffers)
{
    TTempDir temp;
    for (const std::size_t size : {std::size_t(0), std::size_t(1), std::size_t(1) << 20, (std::size_t(1) << 21) + 7}) {
        SCOPED_TRACE(size);
        ByteBuffer bytes(size);
        for (std::size_t i = 0; i < size; ++i)
            bytes[i] = std::uint8_t(i * 31 + i / 4096);
        const std::filesystem::path path = temp / ("f" + std::to_string(size));
        ReplaceFileAtomically(path, bytes);
        const TFileFingerprint print = FingerprintOfFile(path);
        EXPECT_TRUE(print.Present);
        EXPECT_EQ(print.Length, size);
        EXPECT_EQ(print.CRC, CRC32Buffer(bytes));
        if (size > 10) {
            TFileStream file(path, TFileAccess::Read);
            file.Seek(3);
            EXPECT_EQ(StreamRangeCRC(file, 5, size - 2), CRC32Buffer(std::span(bytes).subspan(5, size - 7)));
            EXPECT_EQ(file.Position(), 3u) << "the position is restored";
        }
    }
    EXPECT_FALSE(FingerprintOfFile(temp / "absent").Present);
    EXPECT_FALSE(FingerprintOfFile(temp.Path()).Present) << "a directory is no file";
}

} // namespace
