// The journal manifest loader: a manifest that loads names only paths inside
// the game directory, and writing it out and loading that gives it back.
#include "fileio/Errors.h"
#include "fileio/GamePaths.h"
#include "FuzzSupport.h"
#include "engine/JournalManifest.h"

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
    return 0;
}
