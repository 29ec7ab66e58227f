#include "engine/JournalCheck.h"

#include "archive/DIR.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "engine/Journal.h"
#include "engine/JournalPaths.h"

#include <algorithm>

namespace vehmira::engine {

namespace {

std::string GenericText(const std::filesystem::path& path)
{
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

// The archive as the restore would leave it, read without changing anything:
// the saved head and ranges laid over the archive's present bytes, cut to the
// length the journal gives (never more than the archive has now).
class TRestoredArchiveView : public fileio::TStream {
public:
    TRestoredArchiveView(fileio::TStream& archive, const TJournalManifest& manifest, const TSavedCopies& saved)
        : Archive(archive), Manifest(manifest), Saved(saved)
    {
    }

    void Read(std::span<std::uint8_t> buffer) override
    {
        if (Pos > Size() || buffer.size() > Size() - Pos)
            throw fileio::TVehmiraError("Read past the end of the restored archive");
        const std::uint64_t savedPosition = Archive.Position();
        Archive.Seek(Pos);
        Archive.Read(buffer);
        Archive.Seek(savedPosition);
        Overlay(buffer, 0, Saved.Head);
        for (std::size_t j = 0; j < Saved.Ranges.size() && j < Manifest.Ranges.size(); ++j)
            Overlay(buffer, Manifest.Ranges[j].Offset, Saved.Ranges[j]);
        Pos += buffer.size();
    }
    void Write(std::span<const std::uint8_t>) override
    {
        throw fileio::TVehmiraError("The restored archive is only read");
    }
    void Seek(std::uint64_t position) override { Pos = position; }
    std::uint64_t Position() const override { return Pos; }
    std::uint64_t Size() const override { return Manifest.ArchiveLength; }

private:
    // Copies the part of piece (which lies at pieceOffset) that falls into the buffer read at Pos.
    void Overlay(std::span<std::uint8_t> buffer, std::uint64_t pieceOffset, const fileio::ByteBuffer& piece) const
    {
        const std::uint64_t begin = std::max(Pos, pieceOffset);
        const std::uint64_t end = std::min(Pos + buffer.size(), pieceOffset + piece.size());
        if (begin < end)
            std::copy_n(piece.begin() + std::ptrdiff_t(begin - pieceOffset), std::size_t(end - begin),
                        buffer.begin() + std::ptrdiff_t(begin - Pos));
    }

    fileio::TStream& Archive;
    const TJournalManifest& Manifest;
    const TSavedCopies& Saved;
    std::uint64_t Pos = 0;
};

// The problem of one file a journal names, as the reason a journal is refused; empty when none.
std::string_view FileProblem(const std::filesystem::path& gameDirectory, const std::string& archiveNamed,
                             const std::string& named)
{
    if (fileio::SameGamePath(named, archiveNamed) || fileio::SameGamePath(named, fileio::GameFiles::ModelArchive))
        return JournalDamage::FileIsArchive;
    const std::vector<std::string> parts = fileio::SplitGamePath(named);
    if (!parts.empty() && fileio::SameGamePath(parts.front(), JournalDirectoryName))
        return JournalDamage::FileInJournal;
    if (!IsGameFileAnImportWrites(fileio::PathFromUtf8(named)))
        return JournalDamage::FileNotImported;
    const TGameRelativePath real = FindGameRelativePath(gameDirectory, fileio::ResolveGamePath(gameDirectory, named));
    if (real.Problem != TGamePathProblem::None || !fileio::SameGamePath(GenericText(real.Relative), named))
        return JournalDamage::FileThroughLink;
    return {};
}

std::string FileProblemText(std::string_view reason, const std::string& named)
{
    const std::string file = "it names \"" + named + "\"";
    if (reason == JournalDamage::FileIsArchive)
        return file + ", the model archive, as a file to put back";
    if (reason == JournalDamage::FileInJournal)
        return file + ", inside the journal folder";
    if (reason == JournalDamage::FileNotImported)
        return file + ", which no import writes";
    return file + ", which is reached through a symbolic link or junction";
}

} // namespace

fileio::TVehmiraError JournalDamaged(const std::filesystem::path& journalDirectory, std::string_view reason,
                                     const std::string& description, TJournalDamageFacts facts)
{
    const std::string folder = fileio::PathToUtf8(journalDirectory);
    return fileio::TVehmiraError(fileio::TErrorKind::DamagedJournal,
                                 "The import journal \"" + folder + "\" is damaged: " + description +
                                     ". Nothing was changed; move it out of the way to go on.",
                                 {.Path = folder, .Subject = std::string(reason), .Number = facts.Number,
                                  .Text = std::move(facts.Text), .Needed = 0});
}

std::vector<std::filesystem::path> CheckJournaledPaths(const std::filesystem::path& gameDirectory,
                                                       const std::filesystem::path& journalDirectory,
                                                       const TJournalManifest& manifest)
{
    const std::string archiveNamed = GenericText(manifest.ArchiveRelativePath);
    const TGameRelativePath archive = FindGameRelativePath(
        gameDirectory, fileio::ResolveGamePath(gameDirectory, fileio::GameFiles::ModelArchive));
    if (archive.Problem != TGamePathProblem::None || !fileio::SameGamePath(archiveNamed, GenericText(archive.Relative)))
        throw JournalDamaged(journalDirectory, JournalDamage::ForeignArchive,
                             "it names \"" + archiveNamed + "\" as the model archive", {.Text = archiveNamed});
    std::vector<std::filesystem::path> paths;
    for (const TJournaledFile& file : manifest.Files) {
        const std::string named = GenericText(file.RelativePath);
        const std::string_view problem = FileProblem(gameDirectory, archiveNamed, named);
        if (!problem.empty())
            throw JournalDamaged(journalDirectory, problem, FileProblemText(problem, named), {.Text = named});
        paths.push_back(fileio::ResolveGamePath(gameDirectory, named));
    }
    return paths;
}

void CheckRestoredArchive(const std::filesystem::path& journalDirectory, const TJournalManifest& manifest,
                          const TSavedCopies& saved, fileio::TStream& archive)
{
    if (manifest.ArchiveReplaced)
        return; // the old file itself goes back
    const auto length = std::int64_t(std::min<std::uint64_t>(manifest.ArchiveLength, INT64_MAX));
    // An import only adds to the archive's length: a journal that would make it
    // longer is not ours, and cutting to it would write zeros.
    if (manifest.ArchiveLength > archive.Size())
        throw JournalDamaged(journalDirectory, JournalDamage::ArchiveLonger,
                             "it gives the archive a length of " + std::to_string(manifest.ArchiveLength) +
                                 " bytes, more than it has now",
                             {.Number = length});
    // The archive before an import was one the reader took: cut shorter than its
    // directory's live data, it would not be.
    TRestoredArchiveView restored(archive, manifest, saved);
    try {
        archive::TDIRFile directory;
        directory.LoadFromStream(restored);
    } catch (const fileio::TVehmiraError&) {
        throw JournalDamaged(journalDirectory, JournalDamage::ArchiveCut,
                             "it would cut the archive to " + std::to_string(manifest.ArchiveLength) +
                                 " bytes, inside the data its directory holds",
                             {.Number = length});
    }
}

} // namespace vehmira::engine
