#pragma once
// The ".car" package: one vehicle's pieces in a single file.
//
// Layout (little-endian, no padding):
//   0   3  Magic "CAR"
//   3   1  Version, 2
//   4   4  VehicleID, unsigned (information only)
//   8   6  flags HasDFF, HasTXD, HasGXT, HasHandling, HasVehicles, HasCarcols
//   14 28  seven signed 32-bit lengths: DFF, TXD, GXT, Handling,
//          HandlingSpecial, Vehicles, Carcols
//   42     the pieces in that order, each exactly its length

#include "fileio/ByteOrder.h"
#include "fileio/Stream.h"
#include "gamedata/TextLines.h"
#include "gamedata/VehiclesIde.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace vehmira::package {

inline constexpr std::size_t CarHeaderSize = 14;
inline constexpr std::size_t CarLengthsSize = 28;
inline constexpr std::size_t CarDataOffset = 42;
inline constexpr std::uint8_t CarVersion = 2;

struct TCarHeader {
    std::array<char, 3> Magic{'C', 'A', 'R'};
    std::uint8_t Version = CarVersion;
    std::uint32_t VehicleID = 0;
    std::uint8_t HasDFF = 0;
    std::uint8_t HasTXD = 0;
    std::uint8_t HasGXT = 0;
    std::uint8_t HasHandling = 0;
    std::uint8_t HasVehicles = 0;
    std::uint8_t HasCarcols = 0;
};

struct TCarLengths {
    std::int32_t LenDFF = 0;
    std::int32_t LenTXD = 0;
    std::int32_t LenGXT = 0;
    std::int32_t LenHandling = 0;
    std::int32_t LenHandlingSpecial = 0;
    std::int32_t LenVehicles = 0;
    std::int32_t LenCarcols = 0;
};

// The four kinds of keyed game line and the rule that ties a line to a vehicle.
enum class TKeyedLineKind { MainHandling, SpecialHandling, Vehicles, Carcols };

// True when the line's fields belong to the vehicle:
//   main handling line   field 0 equals HandlingID, ASCII case ignored
//   special handling     field 1 equals HandlingID, ASCII case ignored
//   Vehicles.ide line    field 0 equals the ID in decimal, byte for byte
//   Carcols.dat line     field 0 equals ModelName, ASCII case ignored (the game
//                        keys its colours by model name, not by handling ID)
// A line with too few fields for its key field never belongs to any vehicle.
bool LineBelongsToVehicle(TKeyedLineKind kind, const gamedata::TLineList& fields,
                          const gamedata::TVehicleRecord& vehicle);

// The header and the length table field by field, unchecked: the import's
// reader below and the package validation both start from these.
TCarHeader DecodeCarHeader(std::span<const std::uint8_t, CarHeaderSize> bytes);
TCarLengths DecodeCarLengths(std::span<const std::uint8_t, CarLengthsSize> bytes);

// The header and the length table as they stand on disk (14 and 28 bytes).
fileio::ByteBuffer CarHeaderBytes(const TCarHeader& header);
fileio::ByteBuffer CarLengthsBytes(const TCarLengths& lengths);

// Where one piece lies in the package; absent pieces are never read.
struct TCarPiece {
    bool Present = false;
    std::uint64_t Offset = 0;
    std::uint64_t Length = 0;
};

// A package read and checked whole before anything uses it.
struct TCarLayout {
    TCarHeader Header;
    TCarLengths Lengths;
    TCarPiece DFF, TXD, GXT, Handling, HandlingSpecial, Vehicles, Carcols;
};

// Reads the header and the length table from the start of the stream and
// places the flagged pieces in data order; only a flagged piece takes room.
// Throws TVehmiraError: of kind NotCarPackage for a wrong magic,
// UnsupportedCarVersion for a version other than 2, and Failure for a package
// too short for its header or length table, a negative length or a piece that
// runs past the end.
TCarLayout ReadCarLayout(fileio::TStream& package);

// The bytes of a present piece (empty for an absent one).
std::string ReadCarTextPiece(fileio::TStream& package, const TCarPiece& piece);

} // namespace vehmira::package
