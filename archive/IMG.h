#pragma once
// The model archive Models\GTA3.img: entries in 2048-byte sectors, new data
// appended at the end, the directory rewritten after it.
//
// Layout: bytes 0..3 tag (never touched), then the directory (see DIR.h) and
// free room up to the first data sector; an entry's data lies at byte
// 2048 × Offset for 2048 × Size bytes, zero-filled to the end of its last sector.

#include "archive/CopyOnWrite.h"
#include "archive/DIR.h"
#include "fileio/FileStream.h"
#include "fileio/Progress.h"

#include <filesystem>
#include <memory>
#include <span>
#include <string_view>

namespace vehmira::archive {

class TIMGFile {
public:
    TDIRFile Directory;

    // Opens an existing archive read/write without sharing and reads its directory.
    void Open(const std::filesystem::path& fileName);
    void Close();
    bool IsOpen() const { return Stream != nullptr; }
    fileio::TFileStream& File();

    // Copies the first entry of that name (ASCII case ignored) to dest at position;
    // returns 2048 × Size. A name not in the directory raises an error naming it.
    std::uint64_t ExtractToStream(fileio::TStream& dest, std::uint64_t position, std::string_view entryName);

    // Adds or replaces (the last entry of that name) with the whole file / count bytes of source.
    void AddFile(const std::filesystem::path& fileName, std::string_view entryName);
    void AddStream(fileio::TStream& source, std::uint64_t position, std::uint64_t count, std::string_view entryName);

    // Carries out a copy-on-write placement (CopyOnWrite.h): moves its blocks,
    // writes each source's bytes at its place with zeros to the end of its
    // sectors, then the directory, unflushed. The caller's journal puts the
    // head and the length back after any failure. Reports the bytes written
    // after each entry; a cancel raises TOperationCancelled.
    struct TEntrySource {
        std::string_view EntryName;
        fileio::TStream* Stream = nullptr;
        std::uint64_t Position = 0;
        std::uint64_t Count = 0;
    };
    void ApplyPlacement(const TPlacement& placement, std::span<const TEntrySource> sources,
                        fileio::TProgressSink* progress = nullptr);

    // Moves the first data block to the end until at least one more entry fits.
    void GrowDirectory();

    // The smallest Offset over all entries (for an empty directory: the end of
    // the directory region rounded up to a sector, at least 1).
    std::uint32_t FirstDataSector() const;

    // How many bytes at the head of the archive adding newEntries new names may
    // overwrite: the directory region plus every data block that growing the
    // directory would move (never more than the file's length).
    std::uint64_t HeadBytesAtRisk(int newEntries) const;

    // Rereads the directory from disk and recomputes FreeSlots.
    void ReloadDirectory();

    // On its own, every add flushes its data before the directory points at
    // it, and writes the directory. A caller whose journal puts the archive's
    // head and length back after any interruption needs neither: while a
    // TDeferredDirectory lives, adds and growth only append, and Write() saves
    // the directory once, unflushed (the caller flushes before its commit).
    // Destroyed without Write(), it rereads the directory from disk.
    class TDeferredDirectory {
    public:
        explicit TDeferredDirectory(TIMGFile& archive);
        ~TDeferredDirectory();
        TDeferredDirectory(const TDeferredDirectory&) = delete;
        TDeferredDirectory& operator=(const TDeferredDirectory&) = delete;
        void Write();

    private:
        TIMGFile& Archive;
        bool Settled = false;
    };

private:
    // Flushes and saves the directory unless a TDeferredDirectory holds it back.
    void SaveDirectoryAfterData(fileio::TFileStream& archive);

    // Grows the directory if needed, appends count bytes of source and points the entry at them.
    void WriteEntry(fileio::TStream& source, std::uint64_t position, std::uint64_t count, std::string_view entryName);
    // Moves first data blocks to the end (in memory and their bytes on disk) until one more entry fits.
    void MoveBlocksForOneMoreEntry();
    // After a failed change: the directory in memory becomes the one on disk again.
    void RestoreDirectoryFromDisk();
    void UpdateFreeSlots();

    std::unique_ptr<fileio::TFileStream> Stream;
    bool DirectoryDeferred = false;
};

} // namespace vehmira::archive
