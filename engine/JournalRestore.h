#pragma once
// Taking an import back from its journal: the shared step of rollback, crash
// recovery and undo, and the check that undo makes first.

#include "fileio/FileStream.h"
#include "engine/ArchiveHolder.h"
#include "engine/GameContext.h"
#include "engine/JournalManifest.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vehmira::engine {

// CRC-32 of bytes [begin, end) of the stream, read in bounded chunks; the
// stream's position is restored afterwards.
std::uint32_t StreamRangeCRC(fileio::TStream& stream, std::uint64_t begin, std::uint64_t end);

// Length and CRC-32 of the file, or "absent" for no regular file there.
TFileFingerprint FingerprintOfFile(const std::filesystem::path& path);

// The game path of a journaled file, resolved inside the game directory.
std::filesystem::path JournaledPath(const std::filesystem::path& gameDirectory,
                                    const std::filesystem::path& relativePath);

// The saved bytes of a journal, read and checked.
struct TSavedCopies {
    fileio::ByteBuffer Head;                              // the archive's first HeadLength bytes
    std::vector<fileio::ByteBuffer> Ranges;               // per manifest range: the sectors an import rewrote in place
    std::vector<std::optional<fileio::ByteBuffer>> Files; // per manifest file; none for one that did not exist
};

// Reads the saved bytes in manifest order and checks each copy against the
// length and CRC-32 taken when it was saved; a copy cut short or changed
// raises a DamagedJournal error naming the journal's folder.
TSavedCopies ReadSavedCopies(fileio::TStream& savedBytes, const TJournalManifest& manifest,
                             const std::filesystem::path& journalDirectory);

// Puts back every journaled file (removing those that did not exist), writes
// the saved head bytes back into the archive and cuts it to its old length,
// all durably; for an import that replaced the archive, moves the old archive
// file from the journal back into place instead (the holder lets go of the
// archive around the rename) and removes the rebuilt one's temporaries.
// Checks the journal first (JournalCheck.h: the paths it names, the archive it
// would leave, every saved copy): a damaged journal raises a DamagedJournal
// error before anything changes. Running it again gives the same result, so an
// interrupted restore is simply repeated.
void RestoreFromJournal(const std::filesystem::path& gameDirectory, const std::filesystem::path& journalDirectory,
                        const TJournalManifest& manifest, TArchiveHolder& archive);

// The checks RestoreFromJournal makes before it changes anything, alone: undo
// makes them before it marks the journal as being undone, so that a journal it
// refuses stays as it was. Changes nothing.
void CheckJournalBeforeRestore(const std::filesystem::path& gameDirectory,
                               const std::filesystem::path& journalDirectory, const TJournalManifest& manifest,
                               TArchiveHolder& archive);

// For a committed journal: the first file that differs from the state its
// import left, as the game names it ("Data\\Handling.cfg"), or nothing when
// all is as it was.
std::optional<std::string> FileChangedSinceCommit(const std::filesystem::path& gameDirectory,
                                                  const TJournalManifest& manifest, fileio::TFileStream& archive);

// "from x.car (2024-01-31 23:59:59)": how the messages name an import.
std::string DescribeImport(const TJournalManifest& manifest);

struct TCompletedJournal {
    std::string Id;
    TJournalManifest Manifest; // as it was found: Pending or Undoing
    std::string Message;       // tells the user what was restored
};

// Completes every journal left unfinished, newest first (later imports were
// made over earlier ones): a pending import is rolled back and its journal
// removed; an interrupted undo is finished and marked undone. The archive must
// be the game's archive, open for writing.
std::vector<TCompletedJournal> CompleteInterruptedJournals(const std::filesystem::path& gameDirectory,
                                                           TArchiveHolder& archive);

// The game's open archive stream; refuses with a clear error when none is open.
fileio::TFileStream& OpenArchiveOf(const TGameContext& game);

// After a failed restore the directory in memory may not match the disk any
// more; rereading it (opening the archive again when the restore had let go
// of it) is best effort, the restore's own error is what counts.
void ReloadDirectoryAfterFailure(archive::TIMGFile& archive, TArchiveHolder& holder) noexcept;

} // namespace vehmira::engine
