#pragma once
// For the export and import tests: a fixture game directory with its archive
// open and its vehicle definitions loaded, plus room for packages beside it.

#include "archive/IMG.h"
#include "fileio/GamePaths.h"
#include "gamedata/VehiclesIde.h"
#include "engine/GameContext.h"
#include "support/GameFixture.h"
#include "support/TempDir.h"

#include <algorithm>
#include <array>
#include <map>
#include <stdexcept>
#include <string>

// A package as it stands on disk: header, lengths, then the pieces. Flags in
// the order DFF, TXD, GXT, Handling, Vehicles, Carcols; the seven pieces in data order.
inline vehmira::fileio::ByteBuffer PackageBytes(std::uint32_t id, const std::array<bool, 6>& flags,
                                                const std::array<vehmira::fileio::ByteBuffer, 7>& pieces)
{
    // Filled in place, byte by byte: no vector inserts, which MinGW's -O2 misreads.
    std::size_t total = 42;
    for (const vehmira::fileio::ByteBuffer& piece : pieces)
        total += piece.size();
    vehmira::fileio::ByteBuffer bytes(total, 0);
    bytes[0] = 'C';
    bytes[1] = 'A';
    bytes[2] = 'R';
    bytes[3] = 2;
    vehmira::fileio::StoreU32LE(std::span(bytes).subspan(4).first<4>(), id);
    for (std::size_t i = 0; i < flags.size(); ++i)
        bytes[8 + i] = flags[i] ? 1 : 0;
    std::size_t position = 42;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        vehmira::fileio::StoreU32LE(std::span(bytes).subspan(14 + 4 * i).first<4>(), std::uint32_t(pieces[i].size()));
        std::copy(pieces[i].begin(), pieces[i].end(), bytes.begin() + std::ptrdiff_t(position));
        position += pieces[i].size();
    }
    return bytes;
}

// Cheetah's entries gone and the directory full: an import over cheetah adds
// two names and the archive moves its first data blocks to make room.
inline TGameFixtureContent FullDirectoryWithoutTarget()
{
    TGameFixtureContent content = GameFixture::DefaultContent();
    std::erase_if(content.ArchiveEntries, [](const TFixtureArchiveEntry& entry) {
        return entry.Name.rfind("cheetah", 0) == 0;
    });
    for (int i = 0; content.ArchiveEntries.size() < 63; ++i)
        content.ArchiveEntries.push_back(
            {"pad" + std::to_string(i) + ".dff", vehmira::fileio::ByteBuffer(3000, std::uint8_t(i))});
    return content;
}

// A package of vehicle 411 with every piece; its special handling piece is empty.
inline vehmira::fileio::ByteBuffer InfernusPackage(std::size_t modelBytes)
{
    return PackageBytes(
        411, {true, true, true, true, true, true},
        {GameFixture::RenderWareBytes(RwClumpChunk, modelBytes, 21),
         GameFixture::RenderWareBytes(RwTextureDictionaryChunk, 6000, 22), GameFixture::ToBytes("Infernus"),
         GameFixture::ToBytes("INFERNUS 1400.0 2725.3 1.5 0.0 0.0 -0.25 70 0.7 0.8 0.5 5 240.0 30.0 R P"),
         vehmira::fileio::ByteBuffer{},
         GameFixture::ToBytes("411, infernus, infernus, car, INFERNUS, INFERNUS, null, executive, 10, "
                              "0, 0, -1, 0.7, 0.7, 1"),
         GameFixture::ToBytes("infernus, 12,1, 64,1")});
}

class TFixtureGame {
public:
    explicit TFixtureGame(const TGameFixtureContent& content = GameFixture::DefaultContent()) : Content(content)
    {
        GameFixture::WriteGameDirectory(GameDirectory(), content);
        Archive.Open(vehmira::fileio::ResolveGamePath(GameDirectory(), vehmira::fileio::GameFiles::ModelArchive));
        Definitions.LoadFromFile(
            vehmira::fileio::ResolveGamePath(GameDirectory(), vehmira::fileio::GameFiles::VehicleDefinitions));
    }

    std::filesystem::path GameDirectory() const { return Temp / "game"; }
    // A path outside the game directory, for packages and separate input files.
    std::filesystem::path Outside(std::string_view name) const
    {
        std::filesystem::create_directories(Temp / "outside");
        return Temp / ("outside/" + std::string(name));
    }
    vehmira::engine::TGameContext Context() { return {GameDirectory(), Content.GXTFileName, &Archive}; }
    const vehmira::gamedata::TVehicleRecord& Vehicle(std::int32_t id) const
    {
        const vehmira::gamedata::TVehicleRecord* record = Definitions.FindLastByID(id);
        if (record == nullptr)
            throw std::runtime_error("fixture has no vehicle " + std::to_string(id));
        return *record;
    }
    // Every file of the game directory. The archive is closed meanwhile, since it
    // is held open without sharing, and opened again afterwards.
    std::map<std::string, vehmira::fileio::ByteBuffer> Files(bool includeJournal = false)
    {
        const bool wasOpen = Archive.IsOpen();
        Archive.Close();
        auto files = GameFixture::Snapshot(GameDirectory(), includeJournal);
        if (wasOpen)
            Archive.Open(vehmira::fileio::ResolveGamePath(GameDirectory(), vehmira::fileio::GameFiles::ModelArchive));
        return files;
    }

    TGameFixtureContent Content;
    TTempDir Temp;
    vehmira::archive::TIMGFile Archive;
    vehmira::gamedata::TVehicleFile Definitions;
};
