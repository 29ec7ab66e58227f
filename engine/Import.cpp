#include "engine/Import.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "engine/ImportPlan.h"
#include "engine/ImportTransaction.h"
#include "engine/JournalRestore.h"
#include "engine/VehicleName.h"

#include "archive/DirectoryGrowth.h"

#include <algorithm>
#include <map>
#include <optional>

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

void PrepareName(const TGameContext& game, const TVehicleRecord& target, const std::string& name,
                 TPreparedChanges& changes, std::vector<std::string>& notes)
{
    const std::filesystem::path path = GXTFilePath(game);
    TGXTFile gxt;
    gxt.LoadFromFile(path);
    // The file is written once, however many keys carry the target's hash, and not at all when none does.
    if (SetVehicleName(gxt, target, name) == 0) {
        notes.push_back("display name: the GXT main table holds no key \"" + target.GameName + "\"");
        return;
    }
    const ByteBuffer bytes = gxt.SaveToBytes();
    changes.Files.push_back({path, std::string(bytes.begin(), bytes.end())});
}

// Merges the lines into their files in step order; both handling lines go into one write of Handling.cfg.
void PrepareLines(const TGameContext& game, const TVehicleRecord& target, const std::vector<TImportLine>& lines,
                  TPreparedChanges& changes, std::vector<std::string>& notes)
{
    std::vector<std::filesystem::path> order;
    std::map<std::filesystem::path, std::string> texts;
    std::map<std::filesystem::path, bool> changed;
    for (const TImportLine& line : lines) {
        const std::filesystem::path path = KeyedLineFilePath(game, line.Kind);
        if (!texts.contains(path)) {
            texts[path] = ReadWholeFileText(path);
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

int CountNewEntries(const TIMGFile& archive, const TImportPlan& plan)
{
    int count = 0;
    for (const std::optional<TArchiveAdd>* add : {&plan.Model, &plan.Texture})
        if (*add && archive.Directory.FindEntry((*add)->EntryName) == nullptr)
            ++count;
    return count;
}

std::uint64_t AddLength(const TArchiveAdd& add)
{
    return add.File.empty() ? add.Piece.Length : std::filesystem::file_size(add.File);
}

// The sectors of the entry an add replaces, when its new data fit in them:
// written there, the entry keeps its place on disk and its chain neighbours
// stay back to back. None when the add appends.
std::optional<TArchiveRange> InPlaceRange(const TIMGFile& archive, const TArchiveAdd& add)
{
    const TDIREntrys& entries = archive.Directory.Entries;
    const auto last = std::find_if(entries.rbegin(), entries.rend(),
                                   [&](const TDIREntry& entry) { return EntryNamesEqual(entry.Name, add.EntryName); });
    if (last == entries.rend() || SectorsToHold(AddLength(add)) > last->Size)
        return std::nullopt;
    return TArchiveRange{std::uint64_t(last->Offset) * SectorSize, std::uint64_t(last->Size) * SectorSize};
}

// Only an add whose sectors the journal saved is written in place.
void AddToArchive(TIMGFile& archive, TImportPlan& plan, const TArchiveAdd& add, bool inPlace)
{
    std::optional<TFileStream> file;
    if (!add.File.empty())
        file.emplace(add.File, TFileAccess::Read);
    TStream& source = file ? static_cast<TStream&>(*file) : *plan.Package;
    const std::uint64_t position = file ? 0 : add.Piece.Offset;
    const std::uint64_t count = file ? file->Size() : add.Piece.Length;
    if (!inPlace || !archive.ReplaceInPlace(source, position, count, add.EntryName))
        archive.AddStream(source, position, count, add.EntryName);
}

// All in one batch: the journal puts every file back should any step fail.
void WriteGameFiles(const std::vector<TFileChange>& changes)
{
    std::vector<TFileReplacement> replacements;
    for (const TFileChange& change : changes) {
        if (!SetAttributesNormal(change.Path))
            throw TVehmiraError("Cannot make \"" + PathToUtf8(change.Path) + "\" writable");
        replacements.push_back({change.Path, std::span(reinterpret_cast<const std::uint8_t*>(change.Bytes.data()),
                                                       change.Bytes.size())});
    }
    ReplaceFilesAtomically(replacements);
}

// The journal restores the archive's head and length after any failure, so the
// adds only append and the directory is written once.
void AddPiecesToArchive(TIMGFile& archive, TImportPlan& plan, const std::vector<TArchiveRange>& savedRanges)
{
    const auto saved = [&](const TArchiveAdd& add) {
        const std::optional<TArchiveRange> range = InPlaceRange(archive, add);
        return range && std::any_of(savedRanges.begin(), savedRanges.end(),
                                    [&](const TArchiveRange& r) { return r.Offset == range->Offset && r.Length == range->Length; });
    };
    TIMGFile::TDeferredDirectory directory(archive);
    if (plan.Model)
        AddToArchive(archive, plan, *plan.Model, saved(*plan.Model));
    if (plan.Texture)
        AddToArchive(archive, plan, *plan.Texture, saved(*plan.Texture));
    directory.Write();
    // The megabytes go to disk while the text files are written; the commit's flush waits for them.
    archive.File().StartWriteBack();
}

TImportResult Apply(const TGameContext& game, const TVehicleRecord& target, TImportPlan& plan)
{
    // A rollback that failed earlier in this run is finished before the new
    // contents are worked out from the game's files, or they would carry its changes.
    if (!CompleteInterruptedJournals(game.GameDirectory, game.Archive->File()).empty())
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
    std::vector<TArchiveRange> inPlace;
    for (const std::optional<TArchiveAdd>* add : {&plan.Model, &plan.Texture})
        if (*add)
            if (const std::optional<TArchiveRange> range = InPlaceRange(*game.Archive, **add))
                inPlace.push_back(*range);
    TImportTransaction transaction(game, files, CountNewEntries(*game.Archive, plan), description, inPlace);
    if (plan.Model || plan.Texture)
        AddPiecesToArchive(*game.Archive, plan, inPlace);
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
    } catch (const TVehmiraError& error) {
        throw TImportError(error);
    } catch (const std::exception& error) {
        throw TImportError(error.what());
    }
}

} // namespace

TImportResult ImportFromPackage(const TGameContext& game, const TVehicleRecord& target,
                                const std::filesystem::path& package)
{
    return TrapAsImportError([&] {
        RequireOpenArchive(game);
        TImportPlan plan = ReadPackageSource(package, target);
        return Apply(game, target, plan);
    });
}

TImportResult ImportFromFiles(const TGameContext& game, const TVehicleRecord& target, const TImportFiles& files)
{
    return TrapAsImportError([&] {
        RequireOpenArchive(game);
        TImportPlan plan = ReadFilesSource(files, target);
        return Apply(game, target, plan);
    });
}

TImportResult ImportVehicle(const TGameContext& game, const TVehicleRecord& target, const TImportSource& source)
{
    if (const auto* package = std::get_if<std::filesystem::path>(&source))
        return ImportFromPackage(game, target, *package);
    return ImportFromFiles(game, target, std::get<TImportFiles>(source));
}
