#pragma once
// A tiny game directory built in code for the package tests: Models/GTA3.img
// with RenderWare-shaped entries, Data/Vehicles.ide, Data/Handling.cfg with
// main and special lines and comments, Data/Carcols.dat and Text/American.gxt.
// The files are assembled byte by byte here, independent of the readers and
// writers under test.

#include "fileio/ByteOrder.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// RenderWare root chunk types as the first 4 bytes of a DFF or TXD.
inline constexpr std::uint32_t RwClumpChunk = 0x10;
inline constexpr std::uint32_t RwUVAnimDictionaryChunk = 0x2B;
inline constexpr std::uint32_t RwTextureDictionaryChunk = 0x16;

struct TFixtureArchiveEntry {
    std::string Name;  // stored as given (at most 24 characters)
    vehmira::fileio::ByteBuffer Data; // padded with zeros to whole 2048-byte sectors when written
};

struct TFixtureGXTText {
    std::string Key;  // hashed with the GXT key hash; the name itself is not stored
    std::string Text; // raw 8-bit bytes
};

struct TGameFixtureContent {
    std::string VehiclesIde;
    std::string Handling;
    std::string Carcols;
    std::vector<TFixtureArchiveEntry> ArchiveEntries;
    // The sector where the first entry's data starts; the directory may grow up to it.
    std::uint32_t FirstDataSector = 1;
    std::string GXTFileName = "American.gxt";
    std::vector<TFixtureGXTText> MainTable;
    std::vector<TFixtureGXTText> MissionTable; // written as a second table "MISSION1" when not empty
    // The main table's keys are written in hash order, as the game's files keep
    // them (keys of one hash in the order given); true writes them in the order
    // given. The mission table keeps the order given.
    bool KeysInGivenOrder = false;
};

namespace GameFixture {

// Vehicles in the default content:
//   400 landstal / LANDSTAL / LANDSTK  "Landstalker"  main handling line, no special line
//   415 cheetah  / CHEETAH  / CHEETAH  "Cheetah"      main handling line
//   523 copbike  / COPBIKE  / COPBIKE  "HPV1000"      main and special ("!") handling line
//   596 copcarla / POLICE_LA / POLICAR "Police"       handling keyed by POLICE_LA, colours by copcarla
// Every text file uses CR LF line endings and holds comments and blank lines.
TGameFixtureContent DefaultContent();

// A RenderWare-shaped chunk: type, size, library version, then bytes derived from seed.
vehmira::fileio::ByteBuffer RenderWareBytes(std::uint32_t chunkType, std::size_t length, std::uint8_t seed);

// The whole archive file: tag "VER2", directory, entries from FirstDataSector on.
vehmira::fileio::ByteBuffer BuildArchive(const std::vector<TFixtureArchiveEntry>& entries,
                                         std::uint32_t firstDataSector);

// A whole GXT file with the main table (keys in hash order unless
// keysInGivenOrder) and, when not empty, one mission table.
vehmira::fileio::ByteBuffer BuildGXT(const std::vector<TFixtureGXTText>& mainTable,
                                     const std::vector<TFixtureGXTText>& missionTable, bool keysInGivenOrder = false);

// The key hash, computed here apart from the code under test.
std::uint32_t FixtureKeyHash(std::string_view key);

// Writes the game directory under root (creating it).
void WriteGameDirectory(const std::filesystem::path& root, const TGameFixtureContent& content = DefaultContent());

// The bytes of an entry as the archive stores them: its data zero-filled to whole sectors.
vehmira::fileio::ByteBuffer SectorPadded(const vehmira::fileio::ByteBuffer& data);

// Every regular file under root (relative path with "/" -> bytes). The journal
// folder "vehmira-backups" is left out unless includeJournal is set.
std::map<std::string, vehmira::fileio::ByteBuffer> Snapshot(const std::filesystem::path& root,
                                                            bool includeJournal = false);

// Reads an entry's sector span out of an archive file image, by exact name; empty when absent.
// With several entries of that name, the last one (the one a replace rewrites).
vehmira::fileio::ByteBuffer ArchiveEntryBytes(const vehmira::fileio::ByteBuffer& archive, std::string_view name);
// The entry names of an archive file image, in directory order.
std::vector<std::string> ArchiveEntryNames(const vehmira::fileio::ByteBuffer& archive);

// The text of the first main-table key of a GXT file image whose hash is that of key; "<none>" when absent.
std::string GXTMainText(const vehmira::fileio::ByteBuffer& gxt, std::string_view key);

std::string ToText(const vehmira::fileio::ByteBuffer& bytes);
vehmira::fileio::ByteBuffer ToBytes(std::string_view text);

} // namespace GameFixture
