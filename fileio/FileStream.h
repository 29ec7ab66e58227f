#pragma once
// A file opened through the platform's own API and closed by its destructor.
// On Windows the path goes to the W functions as UTF-16, so any Unicode name
// works; on POSIX it is passed through as bytes.

#include "fileio/Stream.h"
#include "fileio/WriteObserver.h"

#include <filesystem>

namespace vehmira::fileio {

enum class TFileAccess {
    Read,               // existing file, read only, others may read too
    ReadWriteExclusive, // existing file, read/write; no other opener (share mode 0 / exclusive lock)
    CreateNew,          // new file that must not exist yet, read/write
    CreateOrTruncate,   // new or emptied file, read/write
};

class TFileStream : public TStream {
public:
    TFileStream(const std::filesystem::path& path, TFileAccess access);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    void Read(std::span<std::uint8_t> buffer) override;
    void Write(std::span<const std::uint8_t> bytes) override;
    void Seek(std::uint64_t position) override;
    std::uint64_t Position() const override { return Pos; }
    std::uint64_t Size() const override;

    // Makes everything written so far durable on disk.
    void Flush();
    // Lets the system start writing what was written so far to disk, without
    // waiting and without any promise: a later Flush() then has less to wait
    // for. Not a flush, so not an operation the fault injection counts.
    void StartWriteBack();
    // Copies count bytes of source from sourcePosition to this file's current
    // position inside the system, without passing them through this process
    // (as a file copy does), and moves the position on. Returns false, having
    // written nothing, where the system cannot (another file system, Windows):
    // the caller then reads and writes the bytes itself. The bytes must lie
    // within source.
    bool CopyFrom(TFileStream& source, std::uint64_t sourcePosition, std::uint64_t count);
    // Cuts the file to the given length (used to take back appended data).
    void Truncate(std::uint64_t size);

    const std::filesystem::path& Path() const { return FilePath; }

    // From now on every write and truncation is reported to observer (nullptr:
    // none); the stream does not own it and tells it when it closes.
    void SetObserver(TWriteObserver* observer) { Observer = observer; }
    TWriteObserver* CurrentObserver() const { return Observer; }

private:
    void WriteAll(std::span<const std::uint8_t> bytes);
    void CutTo(std::uint64_t size);
    void ReleaseHandle();

    TWriteObserver* Observer = nullptr;
    std::filesystem::path FilePath;
    std::uint64_t Pos = 0;
#ifdef _WIN32
    void* Handle = nullptr;
#else
    int Descriptor = -1;
#endif
};

} // namespace vehmira::fileio
