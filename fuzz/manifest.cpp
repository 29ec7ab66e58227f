// The journal manifest loader and the check recovery makes before acting on a
// journal: a manifest that loads names only paths inside the game directory,
// and writing it out and loading that gives it back; one that the check takes
// against a game folder on disk (with folders linked out of the game and
// inside it) names the game's archive and only the game files an import
// writes, reached without a link.
#include "fileio/Errors.h"
#include "fileio/GamePaths.h"
#include "FuzzSupport.h"
#include "engine/JournalCheck.h"
#include "engine/JournalManifest.h"

#include <algorithm>
#include <chrono>
#include <fstream>
#include <string>
#include <vector>

using namespace vehmira::engine;
using namespace vehmira::fileio;

namespace {

bool Same(const TFileFingerprint& a, const TFileFingerprint& b)
{
    return a.Present == b.Present && a.Length == b.Length && a.CRC == b.CRC;
}

bool Same(const TJournalManifest& a, const TJournalManifest& b)
{
    if (a.State != b.State || a.Target != b.Target || a.Source != b.Source || a.Time != b.Time ||
        a.Retired != b.Retired || a.ArchiveRelativePath != b.ArchiveRelativePath || a.ArchiveLength != b.ArchiveLength ||
        a.HeadLength != b.HeadLength || a.HeadCRC != b.HeadCRC || a.Files.size() != b.Files.size() ||
        a.ArchiveLengthAfter != b.ArchiveLengthAfter || a.HeadCRCAfter != b.HeadCRCAfter ||
        a.AppendedCRCAfter != b.AppendedCRCAfter)
        return false;
    for (std::size_t i = 0; i < a.Files.size(); ++i)
        if (a.Files[i].RelativePath != b.Files[i].RelativePath || !Same(a.Files[i].Before, b.Files[i].Before) ||
            !Same(a.Files[i].After, b.Files[i].After))
            return false;
    return true;
}

std::string Generic(const std::filesystem::path& path)
{
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

// A game folder of the harness's own: the game's files, a journal, a file no
// import writes, "TEXT" linked out of the game beside the real "Text", and
// "DATA" linked to the real "Data".
class TScratchGame {
public:
    TScratchGame()
    {
        const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
        Root = std::filesystem::temp_directory_path() / ("vehmira-fuzz-manifest-" + std::to_string(ticks));
        Game = Root / "game";
        for (const char* file : {"Models/GTA3.img", "Data/Vehicles.ide", "Data/Handling.cfg", "Data/Carcols.dat",
                                 "Data/default.dat", "Text/American.gxt",
                                 "vehmira-backups/20240101-000000-000000/saved.bak", "../outside/American.gxt"}) {
            const std::filesystem::path path = (Game / file).lexically_normal();
            std::filesystem::create_directories(path.parent_path());
            std::ofstream(path) << "bytes";
        }
        std::filesystem::create_directory_symlink("../outside", Game / "TEXT");
        std::filesystem::create_directory_symlink("Data", Game / "DATA");
        std::filesystem::create_directory_symlink("../outside", Game / "mods");
    }
    ~TScratchGame()
    {
        std::error_code ignored;
        std::filesystem::remove_all(Root, ignored);
    }

    std::filesystem::path Root;
    std::filesystem::path Game;
};

std::vector<std::string> LowerComponents(const std::string& path)
{
    std::vector<std::string> parts = SplitGamePath(path);
    for (std::string& part : parts)
        std::transform(part.begin(), part.end(), part.begin(),
                       [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; });
    return parts;
}

// The files an import writes, as the harness models them.
bool IsWrittenGameFile(const std::string& path)
{
    const std::vector<std::string> parts = LowerComponents(path);
    if (parts.size() != 2)
        return false;
    if (parts[0] == "text")
        return true;
    return parts[0] == "data" && (parts[1] == "vehicles.ide" || parts[1] == "handling.cfg" || parts[1] == "carcols.dat");
}

// No component below the game folder is a link, and the real path stays in it.
bool ReachedWithoutLink(const std::filesystem::path& game, const std::filesystem::path& path)
{
    std::filesystem::path at = game;
    std::error_code error;
    for (const std::filesystem::path& component : path.lexically_relative(game)) {
        at /= component;
        if (std::filesystem::is_symlink(std::filesystem::symlink_status(at, error)))
            return false;
    }
    const std::filesystem::path real = std::filesystem::weakly_canonical(path, error);
    const std::filesystem::path base = std::filesystem::weakly_canonical(game, error);
    const std::filesystem::path relative = real.lexically_relative(base);
    return !error && !relative.empty() && *relative.begin() != "..";
}

void CheckAgainstGame(const TJournalManifest& manifest)
{
    static const TScratchGame scratch;
    std::vector<std::filesystem::path> paths;
    try {
        paths = CheckJournaledPaths(scratch.Game, scratch.Game / "vehmira-backups" / "fuzz", manifest);
    } catch (const TVehmiraError& error) {
        Require(error.Kind() == TErrorKind::DamagedJournal, "a refused journal is told as damaged");
        return;
    }
    Require(LowerComponents(Generic(manifest.ArchiveRelativePath)) == std::vector<std::string>{"models", "gta3.img"},
            "the archive is the game's");
    Require(paths.size() == manifest.Files.size(), "one game path per file");
    for (std::size_t i = 0; i < paths.size(); ++i) {
        Require(IsWrittenGameFile(Generic(manifest.Files[i].RelativePath)), "every file is one an import writes");
        Require(ReachedWithoutLink(scratch.Game, paths[i]), "every file is reached without a link");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TJournalManifest manifest;
    try {
        manifest = ManifestFromText(AsText(data, size));
    } catch (const TVehmiraError&) {
        return 0;
    }
    Require(IsInsideGameDirectory(Generic(manifest.ArchiveRelativePath)), "the archive lies in the game directory");
    for (const TJournaledFile& file : manifest.Files)
        Require(IsInsideGameDirectory(Generic(file.RelativePath)), "every file lies in the game directory");
    Require(Same(ManifestFromText(ManifestToText(manifest)), manifest), "a written manifest loads as it was");
    CheckAgainstGame(manifest);
    return 0;
}
