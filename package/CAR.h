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
#include "gamedata/TextLines.h"
#include "gamedata/VehiclesIde.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

inline constexpr std::size_t CarHeaderSize = 14;
inline constexpr std::size_t CarLengthsSize = 28;
inline constexpr std::size_t CarDataOffset = 42;
inline constexpr std::uint8_t CarVersion = 2;
inline constexpr const char* CarFileFilter = "CAR-Files|*.car|Alle Dateien|*.*";
inline constexpr const char* InvalidCarFileText = "  Ungültige CAR-Datei!!";
inline constexpr const char* UnsupportedCarFileText = "  CAR-Datei nicht unterstützt!!";

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

// True when the line's fields belong to the vehicle. A line with too few
// fields for its key field never belongs to any vehicle.
bool LineBelongsToVehicle(TKeyedLineKind kind, const TLineList& fields, const TVehicleRecord& vehicle);
