#include "fileio/ByteReader.h"
#include "fileio/Errors.h"
#include "fileio/FaultInjection.h"
#include "fileio/FileStream.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "fileio/SystemErrors.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

using namespace vehmira::fileio;

namespace {

TEST(FileLayer, ExistenceDoesNotCountDirectories)
{
    TTempDir dir;
    dir.Write("Models/file.img", "x");
    std::filesystem::create_directories(dir / "Models/GTA3.img");
    EXPECT_TRUE(FileExists(dir / "Models/file.img"));
    EXPECT_FALSE(FileExists(dir / "Models/GTA3.img"));
    EXPECT_FALSE(FileExists(dir / "Models/missing.img"));
}

TEST(FileLayer, AtomicReplacementWritesNewContentAndLeavesNoTemporary)
{
    TTempDir dir;
    const auto target = dir.Write("Data/Handling.cfg", "old");
    ReplaceFileAtomically(target, std::string_view("new content"));
    EXPECT_EQ(ReadText(target), "new content");
    EXPECT_EQ(dir.List("Data"), std::vector<std::string>{"Handling.cfg"});

    const auto created = dir / "Data/Carcols.dat";
    ReplaceFileAtomically(created, std::string_view("fresh"));
    EXPECT_EQ(ReadText(created), "fresh");
}

TEST(FileLayer, AFailedReplacementNamesTheFileNotItsTemporary)
{
    TTempDir dir;
    const auto inMissingFolder = dir / "no-such-folder/sheet.png";
    for (const bool batch : {false, true}) {
        try {
            if (batch)
                ReplaceFilesAtomically(std::vector<TFileReplacement>{{inMissingFolder, ByteBuffer{1, 2, 3}}});
            else
                ReplaceFileAtomically(inMissingFolder, std::string_view("png"));
            ADD_FAILURE() << "a file in a missing folder was written";
        } catch (const TVehmiraError& error) {
            const std::string text = error.what();
            EXPECT_NE(text.find("\"" + PathToUtf8(inMissingFolder) + "\""), std::string::npos) << text;
            EXPECT_EQ(text.find("vehmira-tmp"), std::string::npos) << text;
        }
    }
}

TEST(FileLayer, AtomicReplacementFailingAtAnyStepKeepsTheOldFile)
{
    TTempDir dir;
    const auto target = dir.Write("Data/Handling.cfg", "old");
    for (int failing = 1; failing <= 4; ++failing) {
        FaultInjection::FailAtOperation(failing);
        try {
            ReplaceFileAtomically(target, std::string_view("new"));
        } catch (const TVehmiraError&) {
        }
        const int seen = FaultInjection::OperationsSeen();
        FaultInjection::FailAtOperation(0);
        if (seen < failing) // every step passed: the replacement is complete
            EXPECT_EQ(ReadText(target), "new");
        else
            EXPECT_EQ(ReadText(target), "old") << "failing operation " << failing;
        EXPECT_EQ(dir.List("Data"), std::vector<std::string>{"Handling.cfg"}) << "failing operation " << failing;
        ReplaceFileAtomically(target, std::string_view("old"));
    }
}

TEST(FileLayer, ReadWholeFileOfMissingFileNamesIt)
{
    TTempDir dir;
    try {
        ReadWholeFile(dir / "nothing.txt");
        FAIL() << "no error";
    } catch (const TVehmiraError& error) {
        EXPECT_NE(std::string(error.what()).find("nothing.txt"), std::string::npos) << error.what();
    }
}

TEST(FileLayer, FileStreamReadsWritesAndTruncates)
{
    TTempDir dir;
    const auto path = dir / "stream.bin";
    {
        TFileStream file(path, TFileAccess::CreateOrTruncate);
        const std::uint8_t bytes[] = {1, 2, 3, 4, 5};
        file.Write(bytes);
        file.Seek(1);
        std::uint8_t two[2];
        file.Read(two);
        EXPECT_EQ(two[0], 2);
        EXPECT_EQ(two[1], 3);
        EXPECT_EQ(file.Position(), 3u);
        file.Truncate(4);
        EXPECT_EQ(file.Size(), 4u);
        file.Seek(3);
        std::uint8_t beyond[2];
        EXPECT_THROW(file.Read(beyond), TVehmiraError);
    }
    EXPECT_EQ(ReadWholeFile(path), (ByteBuffer{1, 2, 3, 4}));
}

TEST(FileLayer, ExclusiveOpenRefusesASecondOpenerAsAFileInUse)
{
    TTempDir dir;
    const auto path = dir.Write("Models/gta3.img", "data");
    TFileStream first(path, TFileAccess::ReadWriteExclusive);
    try {
        TFileStream second(path, TFileAccess::ReadWriteExclusive);
        ADD_FAILURE() << "a second opener was let in";
    } catch (const TVehmiraError& error) {
        EXPECT_EQ(error.Kind(), TErrorKind::FileInUse) << error.what();
        EXPECT_EQ(error.Facts().Path, PathToUtf8(path));
    }
}

TEST(FileLayer, RefusedAccessHasItsOwnKind)
{
    TTempDir dir;
    const auto path = dir.Write("Data/handling.cfg", "x");
#ifdef _WIN32
    // Windows answers "access denied" to opening a folder as a file (Wine keeps
    // no read-only attribute from the superuser the tests may run as).
    const std::filesystem::path refused = dir / "Data";
#else
    const std::filesystem::path refused = path;
    std::filesystem::permissions(path, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                           std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
#endif
    bool written = false;
    try {
        TFileStream file(refused, TFileAccess::ReadWriteExclusive);
        written = true;
    } catch (const TVehmiraError& error) {
        EXPECT_EQ(error.Kind(), TErrorKind::FileAccessDenied) << error.what();
        EXPECT_EQ(error.Facts().Path, PathToUtf8(refused));
    }
#ifdef _WIN32
    EXPECT_FALSE(written);
#else
    EXPECT_EQ(written, ::geteuid() == 0) << "only the superuser opens a read-only file for writing";
#endif
    // Errors the standard library reports by their portable names.
    EXPECT_EQ(KindOfSystemError(std::make_error_code(std::errc::permission_denied)), TErrorKind::FileAccessDenied);
    EXPECT_EQ(KindOfSystemError(std::make_error_code(std::errc::read_only_file_system)), TErrorKind::FileAccessDenied);
    EXPECT_EQ(KindOfSystemError(std::make_error_code(std::errc::device_or_resource_busy)), TErrorKind::FileInUse);
    EXPECT_EQ(KindOfSystemError(std::make_error_code(std::errc::no_such_file_or_directory)), TErrorKind::Failure);
}

TEST(FileLayer, SetAttributesNormalMakesAReadOnlyFileWritable)
{
    TTempDir dir;
    const auto path = dir.Write("ro.txt", "x");
    std::filesystem::permissions(path, std::filesystem::perms::owner_write, std::filesystem::perm_options::remove);
    EXPECT_TRUE(SetAttributesNormal(path));
    EXPECT_NO_THROW(TFileStream(path, TFileAccess::ReadWriteExclusive));
    EXPECT_FALSE(SetAttributesNormal(dir / "missing.txt"));
}

TEST(GamePaths, ResolvesEachComponentToItsSpellingOnDiskAndPrefersExactMatches)
{
    TTempDir dir;
    dir.Write("models/gta3.img", "a");
    dir.Write("data/Vehicles.ide", "b");
    EXPECT_EQ(ReadText(ResolveGamePath(dir.Path(), "Models\\GTA3.img")), "a");
    EXPECT_EQ(ReadText(ResolveGamePath(dir.Path(), "Data\\Vehicles.ide")), "b");
    EXPECT_EQ(ResolveGamePath(dir.Path(), "Text\\American.gxt"), dir.Path() / "Text" / "American.gxt");
    // The spelling on disk, on every platform: a file replaced through the
    // resolved path keeps its name.
    EXPECT_EQ(ResolveGamePath(dir.Path(), "Models\\GTA3.img"), dir.Path() / "models" / "gta3.img");
#ifndef _WIN32
    dir.Write("Data/Vehicles.ide", "exact");
    EXPECT_EQ(ReadText(ResolveGamePath(dir.Path(), "Data\\Vehicles.ide")), "exact");
#endif
}

TEST(GamePaths, OnlyPathsThatStayInsideTheGameDirectoryPass)
{
    for (const char* inside : {"Models\\GTA3.img", "Data/Handling.cfg", "Text\\american.gxt", "a", "a..b\\.c"})
        EXPECT_TRUE(IsInsideGameDirectory(inside)) << inside;
    for (const char* outside :
         {"", "\\..\\victim.txt", "..\\victim.txt", "Data\\..\\..\\x", "Data/../../x", "\\Models\\GTA3.img",
          "/etc/passwd", "C:\\x", "C:x", "Data\\x:stream", "Data\\\\x", "Data\\", ".\\x", "Data\\..", "Data\\.. \\x",
          "Data\\...\\x", "Data\\x."})
        EXPECT_FALSE(IsInsideGameDirectory(outside)) << outside;
    // What passes resolves below the game directory.
    TTempDir dir;
    const auto resolved = ResolveGamePath(dir.Path(), "Data\\Handling.cfg");
    EXPECT_EQ(resolved.parent_path().parent_path(), dir.Path());
}

TEST(GamePaths, UnicodeDirectoryNamesWork)
{
    TTempDir dir;
    const auto game = dir.Path() / PathFromUtf8("Игры ✓");
    std::filesystem::create_directories(game / "Data");
    ReplaceFileAtomically(game / "Data" / "Carcols.dat", std::string_view("line"));
    EXPECT_EQ(ReadText(ResolveGamePath(game, "DATA\\carcols.DAT")), "line");
    EXPECT_EQ(PathToUtf8(game.filename()), "Игры ✓");
}

TEST(ByteReader, EveryReadIsBounded)
{
    const ByteBuffer bytes{0x78, 0x56, 0x34, 0x12, 0xFF};
    TByteReader reader(bytes, "test data");
    EXPECT_EQ(reader.U32("word"), 0x12345678u);
    EXPECT_EQ(reader.U8("byte"), 0xFF);
    EXPECT_THROW(reader.U8("past"), TVehmiraError);
    reader.Seek(2, "seek");
    EXPECT_THROW(reader.U32("word"), TVehmiraError);
    EXPECT_THROW(reader.Seek(6, "seek"), TVehmiraError);
    EXPECT_THROW(reader.Bytes(~std::uint64_t(0), "huge"), TVehmiraError);
}

} // namespace

#ifndef _WIN32
namespace {
TEST(FileLayer, AtomicReplacementKeepsTheModeOfTheReplacedFile)
{
    TTempDir dir;
    const auto target = dir.Write("Data/Handling.cfg", "old");
    using std::filesystem::perms;
    const perms shared = perms::owner_read | perms::owner_write | perms::group_read | perms::group_write;
    std::filesystem::permissions(target, shared, std::filesystem::perm_options::replace);
    ReplaceFileAtomically(target, std::string_view("new"));
    const ByteBuffer newer{'n', 'e', 'w', '2'};
    ReplaceFilesAtomically(std::vector<TFileReplacement>{{target, newer}});
    EXPECT_EQ(ReadText(target), "new2");
    EXPECT_EQ(std::filesystem::status(target).permissions(), shared);
}
} // namespace
#endif
