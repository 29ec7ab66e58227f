#pragma once
// Whole-file operations of the file layer.

#include "fileio/ByteOrder.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

namespace vehmira::fileio {

// True for an existing regular file; a directory of that name does not count.
bool FileExists(const std::filesystem::path& path);

// Clears read-only (and hidden, system, archive) on Windows; adds the owner's
// write bit on POSIX. Returns false when that failed.
bool SetAttributesNormal(const std::filesystem::path& path);

ByteBuffer ReadWholeFile(const std::filesystem::path& path);
std::string ReadWholeFileText(const std::filesystem::path& path);

// Replaces (or creates) the file in one step: the bytes go to a temporary file
// in the same directory, are flushed to disk, and the temporary then takes the
// target's place. A failure at any point leaves the old file as it was and no
// temporary behind.
void ReplaceFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
void ReplaceFileAtomically(const std::filesystem::path& path, std::string_view text);

// Several files replaced as ReplaceFileAtomically replaces one, with fewer
// flushes: every temporary is written and flushed first, then each takes its
// target's place, then every directory involved is flushed once. A failure
// part-way may leave some files replaced and the others as they were (never
// one half-written) and no temporary behind: for a caller whose own journal
// puts them all back.
struct TFileReplacement {
    std::filesystem::path Path;
    std::span<const std::uint8_t> Bytes;
};
void ReplaceFilesAtomically(std::span<const TFileReplacement> replacements);

// Writes each file's new bytes over its old ones in place and flushes them
// together: no new file and no rename, so no directory to flush (but for a
// file that did not exist yet). Only for files whose old bytes a journal
// holds, flushed: a stop halfway leaves a file part old, part new, and the
// journal's recovery puts it back.
void OverwriteJournaledFiles(std::span<const TFileReplacement> replacements);

// Moves a finished temporary over the target in one durable step.
void MoveFileIntoPlace(const std::filesystem::path& temporary, const std::filesystem::path& target);

// Puts the file at target (a new name) and makes that durable, keeping the
// bytes of source: renamed when it can be; where no rename can (another
// volume, a refusal), a hard link or else a flushed copy, leaving source as
// it is. Returns true when source was renamed away.
bool KeepFileAt(const std::filesystem::path& source, const std::filesystem::path& target);

// A fresh name for a temporary file beside the target (the file is not created).
std::filesystem::path TemporaryNameBeside(const std::filesystem::path& target);
// Removes the temporaries beside the target that a crash left before they
// took its place.
void RemoveTemporariesBeside(const std::filesystem::path& target);

// Makes the directory's entries (a rename, a new file) durable; no-op on Windows.
void FlushDirectory(const std::filesystem::path& directory);

// The path as UTF-8 text, for messages and output.
std::string PathToUtf8(const std::filesystem::path& path);
// A path from UTF-8 text (command-line arguments, settings converted to UTF-8).
std::filesystem::path PathFromUtf8(std::string_view text);

} // namespace vehmira::fileio
