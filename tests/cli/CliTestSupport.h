#pragma once
// Running `vehmira` in-process on a demo game directory, and reading what it left behind.

#include "support/TempDir.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

struct TCliRun {
    int ExitCode = -1;
    std::string Out;
    std::string Err;
};

TCliRun RunCli(const std::vector<std::string>& args);

// Every file under the directory (except the import journal) by its relative
// path, with its bytes: two snapshots compare the whole game directory.
using TDirectorySnapshot = std::map<std::string, std::string>;
TDirectorySnapshot SnapshotGameDirectory(const std::filesystem::path& directory);

// The bytes of one archive entry, all of its sectors.
std::string ArchiveEntry(const std::filesystem::path& gameDirectory, const std::string& name);

// A package as the format lays it out: header, lengths, pieces.
struct TExpectedPackage {
    std::uint32_t VehicleID = 0;
    std::array<std::uint8_t, 6> Flags{};  // dff, txd, gxt, handling, vehicles, carcols
    std::array<std::string, 7> Pieces{};  // dff, txd, gxt, handling, special, vehicles, carcols
    std::string Bytes() const;
};

// UTF-8 text of the tests as the game's code page 1251 bytes.
std::string Cp1251(const std::string& utf8);

// The first line (after the first) of a CR LF text that begins with prefix, or "".
std::string LineStartingWith(const std::string& text, const std::string& prefix);

// The text with the one line equal to oldLine (without its line end) replaced.
std::string ReplaceLine(const std::string& text, const std::string& oldLine, const std::string& newLine);

// A game directory written by WriteDemoGame, removed afterwards.
// Packages and other files of a test go beside it, in Scratch().
class TDemoGameDirectory {
public:
    TDemoGameDirectory();
    const std::filesystem::path& Path() const { return GameDirectory; }
    // The game directory as a --game argument.
    std::string Game() const;
    // A file of the game, by its path in lower case ("data/handling.cfg").
    std::string Read(std::string_view relative) const;
    // A path for a test's own file outside the game directory, as an argument.
    std::string Scratch(std::string_view name) const;

private:
    TTempDir Root;
    std::filesystem::path GameDirectory;
};
