#include "engine/Import.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "engine/Journal.h"
#include "engine/ImportPlan.h"
#include "engine/ImportTransaction.h"
#include "engine/JournalRestore.h"
#include "engine/VehicleName.h"

#include "archive/ArchiveLayout.h"
#include "archive/CopyOnWrite.h"
#include "archive/DirectoryGrowth.h"
#include "archive/IMG.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>

namespace vehmira::engine {

namespace {

// A game file with its new content, computed before anything is written.
struct TFileChange {
    std::filesystem::path Path;
    std::string Bytes;
};

// Every game file the import writes, in the order the steps write them.
struct TPreparedChanges {
    std::vector<TFileChange> Files;
};

void PrepareName(const TGameContext& game, const gamedata::TVehicleRecord& target, const std::string& name,
                 TPreparedChanges& changes, std::vector<std::string>& notes)
{
    const std::filesystem::path path = GXTFilePath(game);
    gamedata::TGXTFile gxt;
    gxt.LoadFromFile(path);
    // The file is written once, however many keys carry the target's hash, and not at all when none does.
    if (SetVehicleName(gxt, target, name) == 0) {
        notes.push_back("display name: the GXT main table holds no key \"" + target.GameName + "\"");
        return;
    }
    const fileio::ByteBuffer bytes = gxt.SaveToBytes();
    changes.Files.push_back({path, std::string(bytes.begin(), bytes.end())});
}

// Merges the lines into their files in step order; both handling lines go into one write of Handling.cfg.
void PrepareLines(const TGameContext& game, const gamedata::TVehicleRecord& target,
                  const std::vector<TImportLine>& lines, TPreparedChanges& changes, std::vector<std::string>& notes)
{
    std::vector<std::filesystem::path> order;
    std::map<std::filesystem::path, std::string> texts;
    std::map<std::filesystem::path, bool> changed;
    for (const TImportLine& line : lines) {
        const std::filesystem::path path = KeyedLineFilePath(game, line.Kind);
        if (!texts.contains(path)) {
            texts[path] = fileio::ReadWholeFileText(path);
            order.push_back(path);
        }
        TMergeResult merged = MergeKeyedLine(line.Kind, line.Text, texts[path], target);
        if (merged.ReplacedLines == 0) {
            notes.push_back(std::string(KeyedLineKindName(line.Kind)) + ": " +
                            std::string(KeyedLineFileName(line.Kind)) + " holds no line of the target");
            continue;
        }
        texts[path] = std::move(merged.Text);
        changed[path] = true;
    }
    for (const std::filesystem::path& path : order)
        if (changed[path])
            changes.Files.push_back({path, std::move(texts[path])});
}

// One entry an import writes: Count bytes of Source from Position.
struct TArchiveWrite {
    std::string EntryName;
    fileio::TStream* Source = nullptr;
    std::uint64_t Position = 0;
    std::uint64_t Count = 0;
};

// The model's and the texture dictionary's bytes, their files held open while the import runs.
class TOpenedAdds {
public:
    explicit TOpenedAdds(TImportPlan& plan)
    {
        for (const std::optional<TArchiveAdd>* add : {&plan.Model, &plan.Texture}) {
            if (!*add)
                continue;
            const TArchiveAdd& piece = **add;
            if (piece.File.empty()) {
                Writes.push_back({piece.EntryName, plan.Package.get(), piece.Piece.Offset, piece.Piece.Length});
                continue;
            }
            Files.push_back(std::make_unique<fileio::TFileStream>(piece.File, fileio::TFileAccess::Read));
            Writes.push_back({piece.EntryName, Files.back().get(), 0, Files.back()->Size()});
        }
    }
    std::vector<TArchiveWrite> Writes;

private:
    std::vector<std::unique_ptr<fileio::TFileStream>> Files;
};

// A replaced entry keeps its name as the archive spells it ("infernus.dff"
// stays so whatever case the definition line gives): players and other tools
// see the archive's names unchanged. Names the entry the placement replaces.
void SpellAsTheArchive(const archive::TDIREntrys& entries, std::vector<TArchiveWrite>& writes)
{
    for (TArchiveWrite& write : writes)
        if (const std::optional<std::size_t> index = archive::EntryTheGameReads(entries, write.EntryName))
            write.EntryName = entries[*index].Name;
}

TArchiveRange BytesOf(const archive::TSectorRange& sectors)
{
    return {std::uint64_t(sectors.Offset) * archive::SectorSize, std::uint64_t(sectors.Size) * archive::SectorSize};
}

// The whole sectors that hold any of those bytes.
std::vector<archive::TSectorRange> SectorsHolding(const std::vector<TArchiveRange>& ranges)
{
    std::vector<archive::TSectorRange> sectors;
    for (const TArchiveRange& range : ranges) {
        const std::uint64_t first = std::min<std::uint64_t>(range.Offset / archive::SectorSize, UINT32_MAX);
        const std::uint64_t end = range.Length > UINT64_MAX - range.Offset
                                      ? UINT32_MAX
                                      : std::min<std::uint64_t>(archive::SectorsToHold(range.Offset + range.Length), UINT32_MAX);
        sectors.push_back({std::uint32_t(first), std::uint32_t(end - first)});
    }
    return sectors;
}

struct TArchiveChanges {
    archive::TPlacement Placement;
    TArchivePlan Plan; // what the journal records of it
};

// Where the new data go, leaving every byte that the state before the import
// and the kept undo steps need where it is.
TArchiveChanges PlanArchiveChanges(const TGameContext& game, const std::vector<TArchiveWrite>& writes)
{
    TArchiveChanges changes;
    if (writes.empty())
        return changes;
    std::vector<archive::TEntryWrite> entryWrites;
    for (const TArchiveWrite& write : writes)
        entryWrites.push_back({write.EntryName, write.Count});
    const std::uint64_t archiveLength = game.Archive->File().Size();
    changes.Placement =
        archive::PlanCopyOnWrite(game.Archive->Directory.Entries, archiveLength, entryWrites,
                                 SectorsHolding(ArchiveBytesPinnedForUndo(game.GameDirectory)));
    changes.Plan.HeadLength = archive::DirectoryStart + changes.Placement.Entries.size() * archive::DirectoryEntrySize;
    for (const archive::TSectorRange& freed : changes.Placement.Freed)
        changes.Plan.Freed.push_back(BytesOf(freed));
    // Data appended past the old end are checked as a whole by the commit's record.
    for (const archive::TSectorRange& written : changes.Placement.Writes)
        if (BytesOf(written).Offset < archiveLength)
            changes.Plan.Written.push_back(BytesOf(written));
    return changes;
}

// All in one batch: the journal puts every file back should any step fail.
void WriteGameFiles(TImportTransaction& transaction, const std::vector<TFileChange>& changes)
{
    std::vector<fileio::TFileReplacement> replacements;
    for (const TFileChange& change : changes) {
        if (!fileio::SetAttributesNormal(change.Path))
            throw fileio::TVehmiraError("Cannot make \"" + fileio::PathToUtf8(change.Path) + "\" writable");
        replacements.push_back({change.Path, std::span(reinterpret_cast<const std::uint8_t*>(change.Bytes.data()),
                                                       change.Bytes.size())});
    }
    transaction.ReplaceFiles(replacements);
}

void WriteArchiveEntries(archive::TIMGFile& archive, const archive::TPlacement& placement,
                         const std::vector<TArchiveWrite>& writes, fileio::TProgressSink* progress)
{
    std::vector<archive::TIMGFile::TEntrySource> sources;
    for (const TArchiveWrite& write : writes)
        sources.push_back({write.EntryName, write.Source, write.Position, write.Count});
    archive.ApplyPlacement(placement, sources, progress);
    // The megabytes go to disk while the text files are written; the commit's flush waits for them.
    archive.File().StartWriteBack();
}

// "Data/Handling.cfg" for a file of the game directory.
std::vector<std::string> GameRelativePaths(const std::filesystem::path& gameDirectory,
                                           const std::vector<std::filesystem::path>& files)
{
    // A game directory written with its final separator ("C:\Game\") is the folder itself.
    const std::filesystem::path base = gameDirectory.has_filename() ? gameDirectory : gameDirectory.parent_path();
    std::vector<std::string> relativePaths;
    for (const std::filesystem::path& file : files) {
        std::string relative = fileio::PathToUtf8(file.lexically_relative(base));
        std::replace(relative.begin(), relative.end(), '\\', '/');
        relativePaths.push_back(std::move(relative));
    }
    return relativePaths;
}

TImportResult Apply(const TGameContext& game, const gamedata::TVehicleRecord& target, TImportPlan& plan,
                    fileio::TProgressSink* progress)
{
    // A rollback that failed earlier in this run is finished before the new
    // contents are worked out from the game's files, or they would carry its changes.
    TIMGArchiveHolder holder(*game.Archive);
    if (!CompleteInterruptedJournals(game.GameDirectory, holder).empty())
        game.Archive->ReloadDirectory();

    TImportResult result;
    result.SkippedSteps = plan.SkippedSteps;
    TPreparedChanges changes;
    if (plan.Name)
        PrepareName(game, target, *plan.Name, changes, result.SkippedSteps);
    PrepareLines(game, target, plan.Lines, changes, result.SkippedSteps);
    if (!plan.Model && !plan.Texture && changes.Files.empty())
        return result;

    std::vector<std::filesystem::path> files;
    for (const TFileChange& change : changes.Files)
        files.push_back(change.Path);
    TImportDescription description{std::to_string(target.ID) + " (" + target.ModelName + ")",
                                   plan.SourceDescription};
    TOpenedAdds adds(plan);
    SpellAsTheArchive(game.Archive->Directory.Entries, adds.Writes);
    TArchiveChanges archiveChanges = PlanArchiveChanges(game, adds.Writes);
    TImportTransaction transaction(game, files, description, std::move(archiveChanges.Plan));
    if (!adds.Writes.empty())
        WriteArchiveEntries(*game.Archive, archiveChanges.Placement, adds.Writes, progress);
    WriteGameFiles(transaction, changes.Files);
    transaction.Commit();
    result.JournalId = transaction.JournalId();
    for (const TArchiveWrite& write : adds.Writes)
        result.WrittenEntries.emplace_back(write.EntryName);
    result.WrittenFiles = GameRelativePaths(game.GameDirectory, files);
    return result;
}

template <typename TBody> TImportResult TrapAsImportError(TBody body)
{
    try {
        return body();
    } catch (const TImportError&) {
        throw;
    } catch (const fileio::TVehmiraError& error) {
        throw TImportError(error);
    } catch (const std::exception& error) {
        throw TImportError(error.what());
    }
}

} // namespace

TImportResult ImportFromPackage(const TGameContext& game, const gamedata::TVehicleRecord& target,
                                const std::filesystem::path& package, fileio::TProgressSink* progress)
{
    return TrapAsImportError([&] {
        RequireOpenArchive(game);
        TImportPlan plan = ReadPackageSource(package, target);
        return Apply(game, target, plan, progress);
    });
}

TImportResult ImportFromFiles(const TGameContext& game, const gamedata::TVehicleRecord& target,
                              const TImportFiles& files, fileio::TProgressSink* progress)
{
    return TrapAsImportError([&] {
        RequireOpenArchive(game);
        TImportPlan plan = ReadFilesSource(files, target);
        return Apply(game, target, plan, progress);
    });
}

TImportResult ImportVehicle(const TGameContext& game, const gamedata::TVehicleRecord& target,
                            const TImportSource& source, fileio::TProgressSink* progress)
{
    if (const auto* package = std::get_if<std::filesystem::path>(&source))
        return ImportFromPackage(game, target, *package, progress);
    return ImportFromFiles(game, target, std::get<TImportFiles>(source), progress);
}

} // namespace vehmira::engine
