#include "engine/ArchiveHolder.h"

TIMGArchiveHolder::TIMGArchiveHolder(TIMGFile& archive) : Archive(archive), ArchivePath(archive.File().Path()) {}

TFileStream& TIMGArchiveHolder::Stream()
{
    if (!Archive.IsOpen())
        Archive.Open(ArchivePath);
    return Archive.File();
}

TFileStream& TFileArchiveHolder::Stream()
{
    if (!File)
        File.emplace(ArchivePath, TFileAccess::ReadWriteExclusive);
    return *File;
}
