#include "engine/ArchiveHolder.h"

namespace vehmira::engine {

TIMGArchiveHolder::TIMGArchiveHolder(archive::TIMGFile& archive) : Archive(archive), ArchivePath(archive.File().Path())
{
}

fileio::TFileStream& TIMGArchiveHolder::Stream()
{
    if (!Archive.IsOpen())
        Archive.Open(ArchivePath);
    return Archive.File();
}

fileio::TFileStream& TFileArchiveHolder::Stream()
{
    if (!File)
        File.emplace(ArchivePath, fileio::TFileAccess::ReadWriteExclusive);
    return *File;
}

} // namespace vehmira::engine
