#include "fileio/FileLinks.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace vehmira::fileio {

#ifdef _WIN32

bool IsLink(const std::filesystem::path& path)
{
    // The find data carry the reparse tag: a cloud placeholder (OneDrive) is a
    // reparse point too, but it is the file itself, not a way elsewhere.
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (found.dwReserved0 == IO_REPARSE_TAG_SYMLINK || found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT);
}

std::uint64_t HardLinkCount(const std::filesystem::path& path)
{
    const HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(file, &information) != 0;
    CloseHandle(file);
    return known && information.nNumberOfLinks > 1 ? information.nNumberOfLinks : 1;
}

#else

bool IsLink(const std::filesystem::path& path)
{
    struct stat information {};
    return ::lstat(path.c_str(), &information) == 0 && S_ISLNK(information.st_mode);
}

std::uint64_t HardLinkCount(const std::filesystem::path& path)
{
    struct stat information {};
    if (::stat(path.c_str(), &information) != 0 || information.st_nlink < 1)
        return 1;
    return std::uint64_t(information.st_nlink);
}

#endif

} // namespace vehmira::fileio
