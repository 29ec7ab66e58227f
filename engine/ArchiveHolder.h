#pragma once
// Who holds the game's archive open while a journal is written or completed.
// An import that rebuilds the archive, and the rollback or undo of one, rename
// archive files; on Windows an open file cannot be renamed or replaced, so the
// holder lets go of it around the renames and opens it again afterwards.

#include "archive/IMG.h"
#include "fileio/FileStream.h"

#include <filesystem>
#include <optional>

namespace vehmira::engine {

class TArchiveHolder {
public:
    virtual ~TArchiveHolder() = default;
    virtual const std::filesystem::path& Path() const = 0;
    // The archive, opened again first when it was let go.
    virtual fileio::TFileStream& Stream() = 0;
    // Closes the archive; the next Stream() opens it again.
    virtual void Release() = 0;
};

// The engines' TIMGFile: opening it again rereads its directory.
class TIMGArchiveHolder : public TArchiveHolder {
public:
    // The archive must be open (its path is taken from it).
    explicit TIMGArchiveHolder(archive::TIMGFile& archive);
    // The archive at path, open or not.
    TIMGArchiveHolder(archive::TIMGFile& archive, std::filesystem::path path)
        : Archive(archive), ArchivePath(std::move(path))
    {
    }
    const std::filesystem::path& Path() const override { return ArchivePath; }
    fileio::TFileStream& Stream() override;
    void Release() override { Archive.Close(); }

private:
    archive::TIMGFile& Archive;
    std::filesystem::path ArchivePath;
};

// The archive file alone, opened exclusively (the recovery before a game is opened).
class TFileArchiveHolder : public TArchiveHolder {
public:
    explicit TFileArchiveHolder(std::filesystem::path path) : ArchivePath(std::move(path)) {}
    const std::filesystem::path& Path() const override { return ArchivePath; }
    fileio::TFileStream& Stream() override;
    void Release() override { File.reset(); }

private:
    std::filesystem::path ArchivePath;
    std::optional<fileio::TFileStream> File;
};

} // namespace vehmira::engine
