#pragma once
// For the journal, transaction and undo tests: a fixture game directory with
// its archive open, and a small import that writes what the engine writes
// (two archive entries, text files replaced atomically, optionally a file
// that did not exist) through a TImportTransaction.

#include "archive/IMG.h"
#include "fileio/FileSystem.h"
#include "fileio/GamePaths.h"
#include "engine/GameContext.h"
#include "engine/ImportTransaction.h"
#include "support/GameFixture.h"
#include "support/TempDir.h"

#include <map>
#include <stdexcept>
#include <string>

// Every game file's bytes (the journal left out). An open archive is read
// through its own handle: on Windows nothing else may open it meanwhile.
inline std::map<std::string, vehmira::fileio::ByteBuffer>
SnapshotWithArchive(const std::filesystem::path& gameDirectory, vehmira::archive::TIMGFile& archive)
{
    std::map<std::string, vehmira::fileio::ByteBuffer> files = GameFixture::Snapshot(gameDirectory);
    if (archive.IsOpen()) {
        vehmira::fileio::TFileStream& file = archive.File();
        const std::uint64_t savedPosition = file.Position();
        file.Seek(0);
        files["Models/GTA3.img"] = file.ReadBytes(file.Size());
        file.Seek(savedPosition);
    }
    // An archive that could not be read would make every comparison pass.
    if (files["Models/GTA3.img"].empty())
        throw std::runtime_error("the archive could not be read for the snapshot");
    return files;
}

class TJournalTestGame {
public:
    explicit TJournalTestGame(const TGameFixtureContent& content = GameFixture::DefaultContent())
    {
        GameFixture::WriteGameDirectory(Temp.Path(), content);
        Open();
    }

    void Open()
    {
        Archive.Open(vehmira::fileio::ResolveGamePath(Temp.Path(), vehmira::fileio::GameFiles::ModelArchive));
    }
    void Close() { Archive.Close(); }
    vehmira::engine::TGameContext Context() { return {Temp.Path(), "American.gxt", &Archive}; }
    std::filesystem::path File(std::string_view relative) const
    {
        return vehmira::fileio::ResolveGamePath(Temp.Path(), relative);
    }
    std::map<std::string, vehmira::fileio::ByteBuffer> Files() { return SnapshotWithArchive(Temp.Path(), Archive); }
    const std::filesystem::path& Directory() const { return Temp.Path(); }

    TTempDir Temp;
    vehmira::archive::TIMGFile Archive;
};

struct TTestImport {
    std::string Target = "415 (cheetah)";
    std::string Source = "fast.car";
    std::string DFFName = "CHEETAH.DFF";
    std::string TXDName = "CHEETAH.TXD";
    std::uint8_t Seed = 50;     // varies the imported bytes
    bool CreatesNewFile = false; // also writes Text\French.gxt, which did not exist
};

inline vehmira::fileio::ByteBuffer TestImportHandling(std::uint8_t seed)
{
    return GameFixture::ToBytes("CHEETAH 1400.0 " + std::to_string(seed) + ".0 2.0\r\n");
}

// The journal of a test import saves the head bytes that adding newEntries
// names may overwrite.
inline vehmira::engine::TArchivePlan HeadAtRisk(const vehmira::engine::TGameContext& game, int newEntries)
{
    vehmira::engine::TArchivePlan plan;
    plan.HeadLength = game.Archive->HeadBytesAtRisk(newEntries);
    return plan;
}

// Runs the import through a transaction and commits it; returns the journal id.
// Anything that fails on the way leaves the rollback to the transaction.
inline std::string RunTestImport(const vehmira::engine::TGameContext& game, const TTestImport& import = {})
{
    const std::filesystem::path handling =
        vehmira::fileio::ResolveGamePath(game.GameDirectory, vehmira::fileio::GameFiles::Handling);
    const std::filesystem::path extra = vehmira::fileio::ResolveGamePath(game.GameDirectory, "Text\\French.gxt");
    std::vector<std::filesystem::path> files{handling};
    if (import.CreatesNewFile)
        files.push_back(extra);
    int newEntries = 0;
    for (const std::string& name : {import.DFFName, import.TXDName})
        newEntries += game.Archive->Directory.FindEntry(name) == nullptr ? 1 : 0;
    vehmira::engine::TImportTransaction transaction(game, files, {import.Target, import.Source},
        HeadAtRisk(game, newEntries));
    vehmira::fileio::TMemoryStream dff(GameFixture::RenderWareBytes(RwClumpChunk, 3000 + import.Seed, import.Seed));
    vehmira::fileio::TMemoryStream txd(GameFixture::RenderWareBytes(RwTextureDictionaryChunk, 2100, import.Seed));
    game.Archive->AddStream(dff, 0, dff.Size(), import.DFFName);
    game.Archive->AddStream(txd, 0, txd.Size(), import.TXDName);
    vehmira::fileio::ReplaceFileAtomically(handling, TestImportHandling(import.Seed));
    if (import.CreatesNewFile)
        vehmira::fileio::ReplaceFileAtomically(extra, std::string_view("new file\r\n"));
    transaction.Commit();
    return transaction.JournalId();
}
