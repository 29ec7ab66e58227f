#include "support/TempDir.h"

#include "fileio/FileSystem.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <fstream>
#include <string>
#include <system_error>

using namespace vehmira::fileio;

namespace {
std::filesystem::path FreshRoot()
{
    static std::atomic<int> counter{0};
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    return std::filesystem::temp_directory_path() /
           ("vehmira-test-" + std::to_string(ticks) + "-" + std::to_string(counter++));
}
} // namespace

TTempDir::TTempDir() : Root(FreshRoot()) { std::filesystem::create_directories(Root); }

TTempDir::~TTempDir()
{
    std::error_code ignored;
    // Tests may leave read-only files behind; make them removable first.
    for (auto it = std::filesystem::recursive_directory_iterator(Root, ignored);
         !ignored && it != std::filesystem::recursive_directory_iterator(); it.increment(ignored))
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(Root, ignored);
}

std::filesystem::path TTempDir::operator/(std::string_view relative) const
{
    std::string portable(relative);
    std::replace(portable.begin(), portable.end(), '\\', '/');
    return Root / PathFromUtf8(portable);
}

std::filesystem::path TTempDir::Write(std::string_view relative, std::string_view bytes) const
{
    const std::filesystem::path path = *this / relative;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return path;
}

std::filesystem::path TTempDir::Write(std::string_view relative, const ByteBuffer& bytes) const
{
    return Write(relative, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::vector<std::string> TTempDir::List(std::string_view relative) const
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(*this / relative))
        names.push_back(PathToUtf8(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

std::string ReadText(const std::filesystem::path& path) { return ReadWholeFileText(path); }
