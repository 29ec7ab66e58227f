#include "engine/JournalStore.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "fileio/SystemErrors.h"
#include "engine/Journal.h"
#include "engine/JournalManifest.h"

#include <algorithm>
#include <cstdio>
#include <system_error>

namespace vehmira::engine {

namespace {

constexpr std::size_t TimePartLength = 15; // "YYYYMMDD-HHMMSS"
constexpr std::size_t SequenceLength = 6;
constexpr std::size_t IdLength = TimePartLength + 1 + SequenceLength;

bool IsJournalId(const std::string& name)
{
    if (name.size() != IdLength)
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const bool dash = i == 8 || i == TimePartLength;
        if (dash ? name[i] != '-' : (name[i] < '0' || name[i] > '9'))
            return false;
    }
    return true;
}

std::string FormatTime(std::time_t when, const char* format)
{
    const std::tm* local = std::localtime(&when);
    char text[32] = {};
    if (local == nullptr || std::strftime(text, sizeof text, format, local) == 0)
        return "00000000-000000";
    return text;
}

std::string SequenceText(unsigned long sequence)
{
    char text[16];
    std::snprintf(text, sizeof text, "%06lu", sequence);
    return text;
}

} // namespace

std::filesystem::path JournalRoot(const std::filesystem::path& gameDirectory)
{
    return fileio::ResolveGamePath(gameDirectory, JournalDirectoryName);
}

std::vector<std::string> ListJournalIds(const std::filesystem::path& gameDirectory)
{
    std::vector<std::string> ids;
    std::error_code error;
    const std::filesystem::path root = JournalRoot(gameDirectory);
    for (std::filesystem::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
        const std::string name = fileio::PathToUtf8(it->path().filename());
        if (IsJournalId(name) && it->is_directory(error))
            ids.push_back(name);
    }
    std::sort(ids.begin(), ids.end());
    return ids;
}

std::string LocalTimeText(std::time_t when) { return FormatTime(when, "%Y-%m-%d %H:%M:%S"); }

std::string NextJournalId(const std::vector<std::string>& existingIds, std::time_t now)
{
    const std::string candidate = FormatTime(now, "%Y%m%d-%H%M%S") + "-" + SequenceText(0);
    if (existingIds.empty() || candidate > existingIds.back())
        return candidate;
    // Same second, or the clock went back: continue after the newest id.
    const std::string& newest = existingIds.back();
    const unsigned long sequence = std::stoul(newest.substr(TimePartLength + 1));
    if (sequence + 1 >= 1000000)
        throw fileio::TVehmiraError("Too many import journals in one second");
    return newest.substr(0, TimePartLength + 1) + SequenceText(sequence + 1);
}

std::filesystem::path CreateJournalDirectory(const std::filesystem::path& gameDirectory, std::string& id)
{
    const std::filesystem::path root = JournalRoot(gameDirectory);
    std::error_code error;
    if (std::filesystem::create_directories(root, error))
        fileio::FlushDirectory(gameDirectory);
    if (error)
        throw fileio::SystemRefusal("Cannot create the folder \"" + fileio::PathToUtf8(root) + "\": " + error.message(),
                                    root, error);
    for (int attempt = 0; attempt < 100; ++attempt) {
        id = NextJournalId(ListJournalIds(gameDirectory), std::time(nullptr));
        const std::filesystem::path directory = root / id;
        if (std::filesystem::create_directory(directory, error)) {
            try {
                fileio::FlushDirectory(root);
            } catch (...) {
                std::filesystem::remove(directory, error);
                throw;
            }
            return directory;
        }
        if (error)
            throw fileio::SystemRefusal("Cannot create the folder \"" + fileio::PathToUtf8(directory) +
                                            "\": " + error.message(),
                                        directory, error);
    }
    throw fileio::TVehmiraError("Cannot create a new import journal in \"" + fileio::PathToUtf8(root) + "\"");
}

void RemoveJournal(const std::filesystem::path& journalDirectory)
{
    std::error_code error;
    std::filesystem::remove(journalDirectory / ManifestFileName, error);
    if (error)
        throw fileio::TVehmiraError("Cannot remove the import journal \"" + fileio::PathToUtf8(journalDirectory) +
                                    "\": " + error.message());
    fileio::FlushDirectory(journalDirectory);
    std::filesystem::remove_all(journalDirectory, error);
    if (!error)
        fileio::FlushDirectory(journalDirectory.parent_path());
}

void PruneJournals(const std::filesystem::path& gameDirectory)
{
    const std::filesystem::path root = JournalRoot(gameDirectory);
    const std::vector<std::string> ids = ListJournalIds(gameDirectory);
    std::size_t committedSeen = 0;
    for (auto id = ids.rbegin(); id != ids.rend(); ++id) {
        TJournalManifest manifest;
        try {
            manifest = LoadManifest(root / *id);
        } catch (const std::exception&) {
            continue;
        }
        const TJournalState state = manifest.State;
        const bool surplus =
            state == TJournalState::Committed && !IsRetired(manifest) && ++committedSeen > JournalsKeptForUndo;
        // No flush here: a removal lost in a power loss only brings back history.
        if (surplus || IsRetired(manifest) || state == TJournalState::Undone) {
            std::error_code ignored;
            if (std::filesystem::remove(root / *id / ManifestFileName, ignored))
                std::filesystem::remove_all(root / *id, ignored);
        }
    }
}

} // namespace vehmira::engine
