#pragma once
// Which paths an import journal may name: one rule for the import that writes
// a journal and for the recovery and undo that act on one, so that recovery
// never refuses a journal an import wrote, and never follows one that an
// import could not have written.

#include <filesystem>

namespace vehmira::engine {

enum class TGamePathProblem {
    None,
    Outside,     // the path leaves the game directory
    ThroughLink, // a folder or the file on the way is a symbolic link or junction
};

struct TGameRelativePath {
    std::filesystem::path Relative; // set when Problem is None
    TGamePathProblem Problem = TGamePathProblem::None;
};

// The path relative to the game directory, checked on disk: every component
// from the game directory down must be a real folder or file, never a link,
// and the real path must stay inside the game directory.
TGameRelativePath FindGameRelativePath(const std::filesystem::path& gameDirectory, const std::filesystem::path& path);

// The same, raising TVehmiraError naming the path when it has a problem.
std::filesystem::path GameRelativePath(const std::filesystem::path& gameDirectory, const std::filesystem::path& path);

// Whether an import writes the game file at that relative path:
// Data\Vehicles.ide, Data\Handling.cfg, Data\Carcols.dat or a GXT file
// directly under Text\ (ASCII case ignored, either separator).
bool IsGameFileAnImportWrites(const std::filesystem::path& relativePath);

} // namespace vehmira::engine
