#include "engine/JournalPaths.h"

#include "fileio/Errors.h"
#include "fileio/FileLinks.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"

#include <string>
#include <system_error>
#include <vector>

namespace vehmira::engine {

namespace {

std::string GenericText(const std::filesystem::path& path)
{
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

bool LeavesOrEmpty(const std::filesystem::path& relative)
{
    return relative.empty() || relative == "." || *relative.begin() == "..";
}

// Walks the path as given from the game directory down: the system would
// follow a link anywhere on the way.
bool PassesThroughLink(const std::filesystem::path& gameDirectory, const std::filesystem::path& relative)
{
    std::filesystem::path at = gameDirectory;
    for (const std::filesystem::path& component : relative) {
        at /= component;
        if (fileio::IsLink(at))
            return true;
    }
    return false;
}

} // namespace

TGameRelativePath FindGameRelativePath(const std::filesystem::path& gameDirectory, const std::filesystem::path& path)
{
    const std::filesystem::path lexical = path.lexically_normal().lexically_relative(gameDirectory.lexically_normal());
    if (!LeavesOrEmpty(lexical) && PassesThroughLink(gameDirectory, lexical))
        return {{}, TGamePathProblem::ThroughLink};
    // The real path decides: it also catches what the walk cannot see (the
    // path given in another form than the game directory).
    std::error_code baseError;
    std::error_code pathError;
    const std::filesystem::path base = std::filesystem::weakly_canonical(gameDirectory, baseError);
    const std::filesystem::path full = std::filesystem::weakly_canonical(path, pathError);
    const std::filesystem::path relative = full.lexically_relative(base);
    if (baseError || pathError || LeavesOrEmpty(relative))
        return {{}, TGamePathProblem::Outside};
    return {relative, TGamePathProblem::None};
}

std::filesystem::path GameRelativePath(const std::filesystem::path& gameDirectory, const std::filesystem::path& path)
{
    const TGameRelativePath found = FindGameRelativePath(gameDirectory, path);
    if (found.Problem == TGamePathProblem::ThroughLink)
        throw fileio::TVehmiraError("\"" + fileio::PathToUtf8(path) +
                                    "\" is reached through a symbolic link or junction in the game directory \"" +
                                    fileio::PathToUtf8(gameDirectory) + "\"; the import does not write through links");
    if (found.Problem == TGamePathProblem::Outside)
        throw fileio::TVehmiraError("\"" + fileio::PathToUtf8(path) + "\" is not inside the game directory \"" +
                                    fileio::PathToUtf8(gameDirectory) + "\"");
    return found.Relative;
}

bool IsGameFileAnImportWrites(const std::filesystem::path& relativePath)
{
    const std::string text = GenericText(relativePath);
    if (!fileio::IsInsideGameDirectory(text))
        return false;
    for (const std::string_view file :
         {fileio::GameFiles::VehicleDefinitions, fileio::GameFiles::Handling, fileio::GameFiles::Carcols})
        if (fileio::SameGamePath(text, file))
            return true;
    const std::vector<std::string> parts = fileio::SplitGamePath(text);
    return parts.size() == 2 && fileio::SameGamePath(parts.front(), fileio::GameFiles::TextDirectory);
}

} // namespace vehmira::engine
