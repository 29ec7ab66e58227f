#include "engine/Import.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "engine/ArchiveReplacement.h"
#include "engine/ImportPlan.h"
#include "engine/ImportTransaction.h"
#include "engine/JournalRestore.h"
#include "engine/VehicleName.h"

#include "archive/DirectoryGrowth.h"

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

int CountNewEntries(const archive::TIMGFile& archive, const TImportPlan& plan)
{
    int count = 0;
    for (const std::optional<TArchiveAdd>* add : {&plan.Model, &plan.Texture})
        if (*add && archive.Directory.FindEntry((*add)->EntryName) == nullptr)
            ++count;
    return count;
}

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

// The sectors of the entry a write replaces, when its new data fit in them:
// written there, the entry keeps its place on disk and its chain neighbours
// stay back to back. None when the write appends.
std::optional<TArchiveRange> InPlaceRange(const archive::TIMGFile& archive, const TArchiveWrite& write)
{
    const archive::TDIREntry* last = LastEntryNamed(archive.Directory.Entries, write.EntryName);
    if (last == nullptr || archive::SectorsToHold(write.Count) > last->Size)
        return std::nullopt;
    return TArchiveRange{std::uint64_t(last->Offset) * archive::SectorSize,
                         std::uint64_t(last->Size) * archive::SectorSize};
}

// All in one batch: the journal puts every file back should any step fail.
void WriteGameFiles(const std::vector<TFileChange>& changes)
{
    std::vector<fileio::TFileReplacement> replacements;
    for (const TFileChange& change : changes) {
        if (!fileio::SetAttributesNormal(change.Path))
            throw fileio::TVehmiraError("Cannot make \"" + fileio::PathToUtf8(change.Path) + "\" writable");
        replacements.push_back({change.Path, std::span(reinterpret_cast<const std::uint8_t*>(change.Bytes.data()),
                                                       change.Bytes.size())});
    }
    fileio::ReplaceFilesAtomically(replacements);
}

// The journal restores the archive's head and length after any failure, so the
// adds only append and the directory is written once. Only a write whose
// sectors the journal saved goes in place.
void AddPiecesToArchive(archive::TIMGFile& archive, const std::vector<TArchiveWrite>& writes,
                        const std::vector<TArchiveRange>& savedRanges)
{
    const auto saved = [&](const TArchiveWrite& write) {
        const std::optional<TArchiveRange> range = InPlaceRange(archive, write);
        return range && std::any_of(savedRanges.begin(), savedRanges.end(),
                                    [&](const TArchiveRange& r) { return r.Offset == range->Offset && r.Length == range->Length; });
    };
    archive::TIMGFile::TDeferredDirectory directory(archive);
    for (const TArchiveWrite& write : writes)
        if (!saved(write) || !archive.ReplaceInPlace(*write.Source, write.Position, write.Count, write.EntryName))
            archive.AddStream(*write.Source, write.Position, write.Count, write.EntryName);
    directory.Write();
    // The megabytes go to disk while the text files are written; the commit's flush waits for them.
    archive.File().StartWriteBack();
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
    const TOpenedAdds adds(plan);
    const bool rebuild = ImportNeedsRebuild(*game.Archive, adds.Writes);
    std::vector<TArchiveRange> inPlace;
    for (const TArchiveWrite& write : adds.Writes)
        if (const std::optional<TArchiveRange> range = InPlaceRange(*game.Archive, write))
            inPlace.push_back(*range);
    TImportTransaction transaction(game, files, CountNewEntries(*game.Archive, plan), description, inPlace,
                                   rebuild ? TArchiveChange::Replace : TArchiveChange::InPlace);
    if (rebuild)
        transaction.ReplaceArchive(EntriesWithWrites(game.Archive->Directory.Entries, adds.Writes), progress);
    else if (!adds.Writes.empty())
        AddPiecesToArchive(*game.Archive, adds.Writes, inPlace);
    WriteGameFiles(changes.Files);
    transaction.Commit();
    result.JournalId = transaction.JournalId();
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
