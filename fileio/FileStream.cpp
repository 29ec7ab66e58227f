#include "fileio/FileStream.h"

#include "fileio/Errors.h"
#include "fileio/FaultInjection.h"
#include "fileio/FileSystem.h"
#include "fileio/SystemErrors.h"

#include <cerrno>
#include <cstring>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vehmira::fileio {

namespace {

std::string Describe(const std::filesystem::path& path) { return "\"" + PathToUtf8(path) + "\""; }

#ifdef _WIN32
std::string SystemErrorText(DWORD code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        return "system error " + std::to_string(code);
    return PathToUtf8(std::filesystem::path(text));
}
[[noreturn]] void Fail(const std::string& action, const std::filesystem::path& path)
{
    const DWORD code = GetLastError();
    throw SystemRefusal("Cannot " + action + " " + Describe(path) + ": " + SystemErrorText(code), path, int(code));
}
#else
[[noreturn]] void Fail(const std::string& action, const std::filesystem::path& path, int error = errno)
{
    throw SystemRefusal("Cannot " + action + " " + Describe(path) + ": " + std::strerror(error), path, error);
}
#endif

} // namespace

#ifdef _WIN32

TFileStream::TFileStream(const std::filesystem::path& path, TFileAccess access) : FilePath(path)
{
    DWORD desired = GENERIC_READ;
    // A reader lets others read, write and rename meanwhile, as a POSIX reader does.
    DWORD share = access == TFileAccess::Read ? FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE : FILE_SHARE_READ;
    DWORD disposition = OPEN_EXISTING;
    switch (access) {
    case TFileAccess::Read: break;
    case TFileAccess::ReadWriteExclusive: desired |= GENERIC_WRITE; share = 0; break;
    case TFileAccess::CreateNew: desired |= GENERIC_WRITE; disposition = CREATE_NEW; break;
    case TFileAccess::CreateOrTruncate: desired |= GENERIC_WRITE; disposition = CREATE_ALWAYS; break;
    }
    if (access != TFileAccess::Read)
        FaultInjection::CountOperation("open for writing");
    HANDLE handle = CreateFileW(path.c_str(), desired, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        Fail(access == TFileAccess::Read ? "open" : "open for writing", path);
    Handle = handle;
}

void TFileStream::ReleaseHandle() { CloseHandle(static_cast<HANDLE>(Handle)); }

void TFileStream::Read(std::span<std::uint8_t> buffer)
{
    std::size_t done = 0;
    while (done < buffer.size()) {
        const DWORD chunk = DWORD(std::min<std::size_t>(buffer.size() - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(static_cast<HANDLE>(Handle), buffer.data() + done, chunk, &got, nullptr))
            Fail("read", FilePath);
        if (got == 0)
            throw TVehmiraError("Unexpected end of " + Describe(FilePath) + " at position " + std::to_string(Pos + done));
        done += got;
    }
    Pos += done;
}

void TFileStream::WriteAll(std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = DWORD(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD put = 0;
        if (!WriteFile(static_cast<HANDLE>(Handle), bytes.data() + done, chunk, &put, nullptr) || put == 0)
            Fail("write", FilePath);
        done += put;
    }
    Pos += done;
}

void TFileStream::Seek(std::uint64_t position)
{
    LARGE_INTEGER target;
    target.QuadPart = LONGLONG(position);
    if (!SetFilePointerEx(static_cast<HANDLE>(Handle), target, nullptr, FILE_BEGIN))
        Fail("seek in", FilePath);
    Pos = position;
}

std::uint64_t TFileStream::Size() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(static_cast<HANDLE>(Handle), &size))
        Fail("get the size of", FilePath);
    return std::uint64_t(size.QuadPart);
}

void TFileStream::Flush()
{
    FaultInjection::CountOperation("flush");
    if (!FlushFileBuffers(static_cast<HANDLE>(Handle)))
        Fail("flush", FilePath);
}

// Windows copies whole files only: the caller reads and writes the bytes.
bool TFileStream::CopyFrom(TFileStream&, std::uint64_t, std::uint64_t) { return false; }

// Windows has no way to start write-back without waiting for it.
void TFileStream::StartWriteBack() {}

void TFileStream::CutTo(std::uint64_t size)
{
    Seek(size);
    if (!SetEndOfFile(static_cast<HANDLE>(Handle)))
        Fail("truncate", FilePath);
}

#else

TFileStream::TFileStream(const std::filesystem::path& path, TFileAccess access) : FilePath(path)
{
    int flags = O_RDONLY;
    switch (access) {
    case TFileAccess::Read: break;
    case TFileAccess::ReadWriteExclusive: flags = O_RDWR; break;
    case TFileAccess::CreateNew: flags = O_RDWR | O_CREAT | O_EXCL; break;
    case TFileAccess::CreateOrTruncate: flags = O_RDWR | O_CREAT | O_TRUNC; break;
    }
    if (access != TFileAccess::Read)
        FaultInjection::CountOperation("open for writing");
    const int descriptor = ::open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (descriptor < 0)
        Fail(access == TFileAccess::Read ? "open" : "open for writing", path);
    struct stat info {};
    if (::fstat(descriptor, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(descriptor);
        Fail("open", path, EISDIR);
    }
    // Two processes of this tool never edit one archive at once.
    if (access == TFileAccess::ReadWriteExclusive && ::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(descriptor);
        if (error == EWOULDBLOCK)
            throw TVehmiraError(TErrorKind::FileInUse, "Cannot open " + Describe(path) + ": it is in use by another program",
                                {.Path = PathToUtf8(path)});
        Fail("lock", path, error);
    }
    Descriptor = descriptor;
}

void TFileStream::ReleaseHandle() { ::close(Descriptor); }

void TFileStream::Read(std::span<std::uint8_t> buffer)
{
    std::size_t done = 0;
    while (done < buffer.size()) {
        const ssize_t got = ::pread(Descriptor, buffer.data() + done, buffer.size() - done, off_t(Pos + done));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            Fail("read", FilePath);
        if (got == 0)
            throw TVehmiraError("Unexpected end of " + Describe(FilePath) + " at position " + std::to_string(Pos + done));
        done += std::size_t(got);
    }
    Pos += done;
}

void TFileStream::WriteAll(std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::pwrite(Descriptor, bytes.data() + done, bytes.size() - done, off_t(Pos + done));
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            Fail("write", FilePath);
        done += std::size_t(put);
    }
    Pos += done;
}

void TFileStream::Seek(std::uint64_t position) { Pos = position; }

std::uint64_t TFileStream::Size() const
{
    struct stat info {};
    if (::fstat(Descriptor, &info) != 0)
        Fail("get the size of", FilePath);
    return std::uint64_t(info.st_size);
}

void TFileStream::Flush()
{
    FaultInjection::CountOperation("flush");
    if (::fsync(Descriptor) != 0)
        Fail("flush", FilePath);
}

void TFileStream::StartWriteBack()
{
#ifdef __linux__
    // Only a hint: when it fails, Flush() does all the work later.
    ::sync_file_range(Descriptor, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

bool TFileStream::CopyFrom(TFileStream& source, std::uint64_t sourcePosition, std::uint64_t count)
{
#ifdef __linux__
    std::uint64_t done = 0;
    while (done < count) {
        FaultInjection::CountOperation("write");
        loff_t from = loff_t(sourcePosition + done);
        loff_t to = loff_t(Pos + done);
        const ssize_t copied = ::copy_file_range(source.Descriptor, &from, Descriptor, &to, std::size_t(count - done), 0);
        if (copied < 0 && errno == EINTR)
            continue;
        if (copied < 0 && done == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP))
            return false;
        if (Observer)
            Observer->LostTrack(); // the bytes never pass through here
        if (copied <= 0)
            Fail("write", FilePath);
        done += std::uint64_t(copied);
    }
    Pos += done;
    return true;
#else
    (void)source;
    (void)sourcePosition;
    (void)count;
    return false;
#endif
}

void TFileStream::CutTo(std::uint64_t size)
{
    if (::ftruncate(Descriptor, off_t(size)) != 0)
        Fail("truncate", FilePath);
    Pos = size;
}

#endif

// Shared by both platforms: the operation count and the observer.

TFileStream::~TFileStream()
{
    if (Observer)
        Observer->StreamClosed();
    ReleaseHandle();
}

void TFileStream::Write(std::span<const std::uint8_t> bytes)
{
    const std::uint64_t position = Pos;
    try {
        FaultInjection::CountOperation("write");
        WriteAll(bytes);
    } catch (...) {
        if (Observer)
            Observer->LostTrack();
        throw;
    }
    if (Observer)
        Observer->Written(position, bytes);
}

void TFileStream::Truncate(std::uint64_t size)
{
    try {
        FaultInjection::CountOperation("truncate");
        CutTo(size);
    } catch (...) {
        if (Observer)
            Observer->LostTrack();
        throw;
    }
    if (Observer)
        Observer->Truncated(size);
}

} // namespace vehmira::fileio
