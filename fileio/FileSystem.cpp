#include "fileio/FileSystem.h"

#include "fileio/Errors.h"
#include "fileio/FaultInjection.h"
#include "fileio/FileStream.h"
#include "fileio/SystemErrors.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vehmira::fileio {

bool FileExists(const std::filesystem::path& path)
{
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool SetAttributesNormal(const std::filesystem::path& path)
{
#ifdef _WIN32
    return SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL) != 0;
#else
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    return ::chmod(path.c_str(), info.st_mode | S_IWUSR) == 0;
#endif
}

ByteBuffer ReadWholeFile(const std::filesystem::path& path)
{
    TFileStream file(path, TFileAccess::Read);
    ByteBuffer bytes(static_cast<std::size_t>(file.Size()));
    file.Read(bytes);
    return bytes;
}

std::string ReadWholeFileText(const std::filesystem::path& path)
{
    const ByteBuffer bytes = ReadWholeFile(path);
    return std::string(bytes.begin(), bytes.end());
}

namespace {
constexpr std::string_view TemporaryMarker = ".vehmira-tmp-";
}

std::filesystem::path TemporaryNameBeside(const std::filesystem::path& target)
{
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    std::filesystem::path name = target;
    name += PathFromUtf8(std::string(TemporaryMarker) + std::to_string(ticks % 1000000007) + "-" +
                         std::to_string(counter++));
    return name;
}

void RemoveTemporariesBeside(const std::filesystem::path& target)
{
    const std::string prefix = PathToUtf8(target.filename()) + std::string(TemporaryMarker);
    std::error_code error;
    for (std::filesystem::directory_iterator it(target.parent_path(), error), end; !error && it != end;
         it.increment(error)) {
        if (PathToUtf8(it->path().filename()).starts_with(prefix)) {
            std::error_code ignored;
            std::filesystem::remove(it->path(), ignored);
        }
    }
}

void FlushDirectory([[maybe_unused]] const std::filesystem::path& directory)
{
#ifndef _WIN32
    const int descriptor = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0)
        return;
    FaultInjection::CountOperation("directory flush");
    const int result = ::fsync(descriptor);
    ::close(descriptor);
    if (result != 0)
        throw TVehmiraError("Cannot flush the directory \"" + PathToUtf8(directory) + "\"");
#endif
}

namespace {

// The rename alone; on POSIX the directory still has to be flushed to make it durable.
void RenameOver(const std::filesystem::path& temporary, const std::filesystem::path& target)
{
    FaultInjection::CountOperation("rename");
#ifdef _WIN32
    if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        throw SystemRefusal("Cannot replace \"" + PathToUtf8(target) + "\" (error " + std::to_string(code) + ")", target,
                            int(code));
    }
#else
    // The replacement keeps the mode of the file it replaces (a group-writable
    // game file stays group-writable); a new file keeps the default mode.
    if (struct stat existing {}; ::stat(target.c_str(), &existing) == 0)
        ::chmod(temporary.c_str(), existing.st_mode & 07777);
    std::error_code error;
    std::filesystem::rename(temporary, target, error);
    if (error)
        throw SystemRefusal("Cannot replace \"" + PathToUtf8(target) + "\": " + error.message(), target, error);
#endif
}

void WriteFlushedFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    TFileStream file(path, TFileAccess::CreateNew);
    file.Write(bytes);
    file.Flush();
}

void RemoveQuietly(const std::filesystem::path& path)
{
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

// The temporary file is ours, not the user's: a failure to write it is told
// as a failure to write the file it stands for.
[[noreturn]] void RethrowNamingTarget(const TVehmiraError& error, const std::filesystem::path& temporary,
                                      const std::filesystem::path& target)
{
    std::string text = error.what();
    const std::string temporaryName = PathToUtf8(temporary), targetName = PathToUtf8(target);
    for (std::size_t at = text.find(temporaryName); at != std::string::npos;
         at = text.find(temporaryName, at + targetName.size()))
        text.replace(at, temporaryName.size(), targetName);
    throw TVehmiraError(error.Kind(), text, error.Facts());
}

} // namespace

void MoveFileIntoPlace(const std::filesystem::path& temporary, const std::filesystem::path& target)
{
    RenameOver(temporary, target);
    FlushDirectory(target.parent_path());
}

namespace {

void CopyFlushed(const std::filesystem::path& source, const std::filesystem::path& target)
{
    constexpr std::size_t ChunkSize = std::size_t(4) << 20;
    try {
        TFileStream from(source, TFileAccess::Read);
        TFileStream to(target, TFileAccess::CreateNew);
        ByteBuffer chunk;
        for (std::uint64_t at = 0, size = from.Size(); at < size; at += chunk.size()) {
            chunk.resize(std::size_t(std::min<std::uint64_t>(ChunkSize, size - at)));
            from.Read(chunk);
            to.Write(chunk);
        }
        to.Flush();
    } catch (...) {
        RemoveQuietly(target);
        throw;
    }
}

} // namespace

bool KeepFileAt(const std::filesystem::path& source, const std::filesystem::path& target)
{
    bool renamed = true;
    try {
        RenameOver(source, target);
    } catch (const TVehmiraError&) {
        renamed = false;
        FaultInjection::CountOperation("link");
        std::error_code linkError;
        std::filesystem::create_hard_link(source, target, linkError);
        if (linkError)
            CopyFlushed(source, target);
    }
    FlushDirectory(target.parent_path());
    if (renamed)
        FlushDirectory(source.parent_path());
    return renamed;
}

void ReplaceFilesAtomically(std::span<const TFileReplacement> replacements)
{
    std::vector<std::filesystem::path> temporaries;
    std::size_t renamed = 0;
    try {
        {
            // All written before any is flushed, so that their writes reach the disk together.
            std::vector<std::unique_ptr<TFileStream>> files;
            for (const TFileReplacement& replacement : replacements) {
                temporaries.push_back(TemporaryNameBeside(replacement.Path));
                try {
                    files.push_back(std::make_unique<TFileStream>(temporaries.back(), TFileAccess::CreateNew));
                    files.back()->Write(replacement.Bytes);
                } catch (const TVehmiraError& error) {
                    RethrowNamingTarget(error, temporaries.back(), replacement.Path);
                }
                files.back()->StartWriteBack();
            }
            for (const std::unique_ptr<TFileStream>& file : files)
                file->Flush();
        }
        for (; renamed < replacements.size(); ++renamed)
            RenameOver(temporaries[renamed], replacements[renamed].Path);
    } catch (...) {
        for (std::size_t i = renamed; i < temporaries.size(); ++i)
            RemoveQuietly(temporaries[i]);
        throw;
    }
    std::vector<std::filesystem::path> directories;
    for (const TFileReplacement& replacement : replacements)
        if (std::find(directories.begin(), directories.end(), replacement.Path.parent_path()) == directories.end())
            directories.push_back(replacement.Path.parent_path());
    for (const std::filesystem::path& directory : directories)
        FlushDirectory(directory);
}

void OverwriteJournaledFiles(std::span<const TFileReplacement> replacements)
{
    std::vector<std::unique_ptr<TFileStream>> files;
    std::vector<std::filesystem::path> newFolders;
    for (const TFileReplacement& replacement : replacements) {
        const bool existed = FileExists(replacement.Path);
        files.push_back(std::make_unique<TFileStream>(
            replacement.Path, existed ? TFileAccess::ReadWriteExclusive : TFileAccess::CreateNew));
        TFileStream& file = *files.back();
        file.Write(replacement.Bytes);
        if (file.Size() > replacement.Bytes.size())
            file.Truncate(replacement.Bytes.size());
        file.StartWriteBack();
        if (!existed)
            newFolders.push_back(replacement.Path.parent_path());
    }
    // All written before any is flushed, so that their writes reach the disk together.
    for (const std::unique_ptr<TFileStream>& file : files)
        file->Flush();
    for (const std::filesystem::path& folder : newFolders)
        FlushDirectory(folder);
}

void ReplaceFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes)
{
    const std::filesystem::path temporary = TemporaryNameBeside(path);
    try {
        try {
            WriteFlushedFile(temporary, bytes);
        } catch (const TVehmiraError& error) {
            RethrowNamingTarget(error, temporary, path);
        }
        RenameOver(temporary, path);
    } catch (...) {
        RemoveQuietly(temporary);
        throw;
    }
    FlushDirectory(path.parent_path());
}

void ReplaceFileAtomically(const std::filesystem::path& path, std::string_view text)
{
    ReplaceFileAtomically(path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

std::string PathToUtf8(const std::filesystem::path& path)
{
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path PathFromUtf8(std::string_view text)
{
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

} // namespace vehmira::fileio
