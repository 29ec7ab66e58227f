#include "fileio/SystemErrors.h"

#include "fileio/FileSystem.h"

#include <cerrno>

#ifdef _WIN32
#include <windows.h>
#endif

namespace vehmira::fileio {

namespace {

TErrorKind KindOfErrno(int code)
{
    switch (code) {
    case EACCES:
    case EPERM:
    case EROFS: return TErrorKind::FileAccessDenied;
    case EBUSY:
    case ETXTBSY:
    case EWOULDBLOCK: return TErrorKind::FileInUse;
    default: return TErrorKind::Failure;
    }
}

} // namespace

TErrorKind KindOfSystemError(int code)
{
#ifdef _WIN32
    switch (code) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return TErrorKind::FileInUse;
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT: return TErrorKind::FileAccessDenied;
    default: return TErrorKind::Failure;
    }
#else
    return KindOfErrno(code);
#endif
}

TErrorKind KindOfSystemError(const std::error_code& error)
{
    // The standard library reports some failures as errno values even on Windows.
    if (error.category() == std::generic_category())
        return KindOfErrno(error.value());
    return KindOfSystemError(error.value());
}

TVehmiraError SystemRefusal(const std::string& description, const std::filesystem::path& path, int code)
{
    return TVehmiraError(KindOfSystemError(code), description, {.Path = PathToUtf8(path)});
}

TVehmiraError SystemRefusal(const std::string& description, const std::filesystem::path& path,
                            const std::error_code& error)
{
    return TVehmiraError(KindOfSystemError(error), description, {.Path = PathToUtf8(path)});
}

} // namespace vehmira::fileio
