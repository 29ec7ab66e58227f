#pragma once
// The manifest of one import journal: a small text file of key=value lines.
// It is written last, atomically, so a journal directory without a manifest
// means that the import changed nothing yet.
//
//   format=2 (journals of format 1 are read alike: they have no pins or writes)
//   state=pending | committed | undoing | undone
//   target=, source=, time=                 what the user is told
//   retired=1 (absent: 0) when a later rebuild of the archive left nothing
//     the committed import's undo could go back to; readers that do not know
//     the key see a committed import whose undo check refuses
//   archive=Models/GTA3.img                 path relative to the game directory
//   archive.length=, archive.head.length=, archive.head.crc=
//   archive.ranges=M (absent: 0), then for j < M, the sectors an import
//     rewrote in place: archive.range.j.offset=, .length=, .crc=
//     (after a commit also archive.range.j.after.crc=)
//   archive.pins=P (absent: 0), then archive.pin.j.offset=, .length=: the
//     sectors the import left under free records (whole sectors, up to
//     archive.length rounded up to a sector); no later import reuses them
//     while this journal is kept, since its undo points entries there again
//   archive.writes=W (absent: 0), then archive.write.j.offset=, .length=: where
//     the import put new data (after a commit also archive.write.j.after.crc=)
//   archive.replaced=1 when the import rebuilt the archive: the journal holds
//     the old archive file itself (SavedArchiveFileName) instead of its head,
//     and after a commit archive.after.crc= is the rebuilt file's CRC-32
//   files=N, then for i < N:
//     file.i=Data/Handling.cfg, file.i.existed=0|1, file.i.length=, file.i.crc=
//   after a commit, the state the import left:
//     archive.after.length=, archive.after.head.crc=, archive.after.appended.crc=
//     file.i.after=0|1 (present), file.i.after.length=, file.i.after.crc=
// Values escape "\" as "\\", CR as "\r" and LF as "\n". CRCs are 8 hex digits.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::engine {

enum class TJournalState { Pending, Committed, Undoing, Undone };

// A file's length and CRC-32, or its absence.
struct TFileFingerprint {
    bool Present = false;
    std::uint64_t Length = 0;
    std::uint32_t CRC = 0;
};

struct TJournaledFile {
    std::filesystem::path RelativePath; // inside the game directory
    TFileFingerprint Before;            // Present: the journal holds a copy
    TFileFingerprint After;             // set by the commit
};

// Archive bytes an import overwrote in place (an entry's own sectors).
struct TArchiveRange {
    std::uint64_t Offset = 0; // bytes
    std::uint64_t Length = 0;
    std::uint32_t CRC = 0;      // of the saved bytes
    std::uint32_t CRCAfter = 0; // set by the commit
};

struct TJournalManifest {
    TJournalState State = TJournalState::Pending;
    std::string Target;
    std::string Source;
    std::string Time;
    bool Retired = false; // set by a rebuild of the archive after the commit
    std::filesystem::path ArchiveRelativePath;
    std::uint64_t ArchiveLength = 0;
    std::uint64_t HeadLength = 0;
    std::uint32_t HeadCRC = 0;
    std::vector<TArchiveRange> Ranges;
    std::vector<TArchiveRange> Pinned;  // CRCs unused
    std::vector<TArchiveRange> Written; // CRCAfter set by the commit
    // The import put a rebuilt archive in the old one's place; the journal
    // keeps the old file (HeadLength 0, no ranges).
    bool ArchiveReplaced = false;
    std::vector<TJournaledFile> Files;
    // Set by the commit.
    std::uint64_t ArchiveLengthAfter = 0;
    std::uint32_t HeadCRCAfter = 0;
    std::uint32_t AppendedCRCAfter = 0;
    std::uint32_t ArchiveCRCAfter = 0; // the whole rebuilt file, when ArchiveReplaced
};

inline constexpr const char* ManifestFileName = "manifest.txt";
// The saved bytes, in one file so that one flush makes them durable: the
// archive's head (HeadLength bytes), then every saved range, then every file that existed, in manifest
// order, each Before.Length bytes.
inline constexpr const char* SavedBytesFileName = "saved.bak";
// The old archive file, moved here by an import that replaced it.
inline constexpr const char* SavedArchiveFileName = "archive.old";

// A committed import that a later rebuild of the archive retired: no undo.
inline bool IsRetired(const TJournalManifest& manifest)
{
    return manifest.State == TJournalState::Committed && manifest.Retired;
}

std::string ManifestToText(const TJournalManifest& manifest);
// Raises TVehmiraError naming the problem for a damaged or foreign manifest,
// including a path that would leave the game directory or name a device, and
// ranges that do not lie inside the archive's length.
TJournalManifest ManifestFromText(std::string_view text);

TJournalManifest LoadManifest(const std::filesystem::path& journalDirectory);
// Replaces the manifest atomically and durably.
void SaveManifest(const std::filesystem::path& journalDirectory, const TJournalManifest& manifest);

} // namespace vehmira::engine
