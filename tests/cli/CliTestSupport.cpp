#include "cli/CliTestSupport.h"

#include "archive/IMG.h"
#include "cli/CommandLine.h"
#include "demo/DemoGame.h"
#include "fileio/FileSystem.h"
#include "gamedata/CodePage1251.h"
#include "engine/Journal.h"

#include <sstream>
#include <stdexcept>

using namespace vehmira::archive;
using namespace vehmira::cli;
using namespace vehmira::demo;
using namespace vehmira::engine;
using namespace vehmira::fileio;
using namespace vehmira::gamedata;

TCliRun RunCli(const std::vector<std::string>& args)
{
    std::ostringstream out;
    std::ostringstream err;
    TCliRun run;
    run.ExitCode = RunVehmira(args, out, err);
    run.Out = out.str();
    run.Err = err.str();
    return run;
}

TDirectorySnapshot SnapshotGameDirectory(const std::filesystem::path& directory)
{
    TDirectorySnapshot snapshot;
    for (auto it = std::filesystem::recursive_directory_iterator(directory);
         it != std::filesystem::recursive_directory_iterator(); ++it) {
        if (it->path().filename() == JournalDirectoryName) {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file())
            snapshot[PathToUtf8(std::filesystem::relative(it->path(), directory).generic_u8string())] =
                ReadWholeFileText(it->path());
    }
    return snapshot;
}

std::string ArchiveEntry(const std::filesystem::path& gameDirectory, const std::string& name)
{
    TIMGFile archive;
    archive.Open(gameDirectory / "models" / "gta3.img");
    TMemoryStream entry;
    archive.ExtractToStream(entry, 0, name);
    return std::string(entry.Bytes().begin(), entry.Bytes().end());
}

std::string TExpectedPackage::Bytes() const
{
    ByteBuffer bytes = {'C', 'A', 'R', 2};
    AppendU32LE(bytes, VehicleID);
    bytes.insert(bytes.end(), Flags.begin(), Flags.end());
    for (const std::string& piece : Pieces)
        AppendU32LE(bytes, std::uint32_t(piece.size()));
    for (const std::string& piece : Pieces)
        bytes.insert(bytes.end(), piece.begin(), piece.end());
    return std::string(bytes.begin(), bytes.end());
}

std::string Cp1251(const std::string& utf8)
{
    const std::optional<std::string> bytes = Utf8ToCp1251(utf8);
    if (!bytes)
        throw std::invalid_argument("not code page 1251: " + utf8);
    return *bytes;
}

std::string LineStartingWith(const std::string& text, const std::string& prefix)
{
    const std::size_t at = text.find("\n" + prefix);
    if (at == std::string::npos)
        return {};
    return text.substr(at + 1, text.find("\r\n", at + 1) - at - 1);
}

std::string ReplaceLine(const std::string& text, const std::string& oldLine, const std::string& newLine)
{
    const std::string framed = "\n" + oldLine + "\r\n";
    const std::size_t at = text.find(framed);
    if (at == std::string::npos || text.find(framed, at + 1) != std::string::npos)
        throw std::invalid_argument("not exactly one line: " + oldLine);
    return text.substr(0, at + 1) + newLine + text.substr(at + 1 + oldLine.size());
}

TDemoGameDirectory::TDemoGameDirectory() : GameDirectory(Root.Path() / "game") { WriteDemoGame(GameDirectory); }

std::string TDemoGameDirectory::Game() const { return PathToUtf8(GameDirectory); }

std::string TDemoGameDirectory::Read(std::string_view relative) const
{
    return ReadWholeFileText(GameDirectory / PathFromUtf8(relative));
}

std::string TDemoGameDirectory::Scratch(std::string_view name) const { return PathToUtf8(Root / name); }
