#include "package/CAR.h"

#include "fileio/Errors.h"
#include "gamedata/AsciiCase.h"

#include <algorithm>

namespace vehmira::package {

bool LineBelongsToVehicle(TKeyedLineKind kind, const gamedata::TLineList& fields,
                          const gamedata::TVehicleRecord& vehicle)
{
    const std::size_t keyField = kind == TKeyedLineKind::SpecialHandling ? 1 : 0;
    if (fields.size() <= keyField || fields[keyField].empty())
        return false;
    const std::string& key = fields[keyField];
    switch (kind) {
    case TKeyedLineKind::MainHandling:
    case TKeyedLineKind::SpecialHandling: return gamedata::EqualsIgnoringAsciiCase(key, vehicle.HandlingID);
    case TKeyedLineKind::Carcols: return gamedata::EqualsIgnoringAsciiCase(key, vehicle.ModelName);
    case TKeyedLineKind::Vehicles:
        return key == std::to_string(vehicle.ID);
    }
    return false;
}

fileio::ByteBuffer CarHeaderBytes(const TCarHeader& header)
{
    fileio::ByteBuffer bytes(header.Magic.begin(), header.Magic.end());
    bytes.push_back(header.Version);
    fileio::AppendU32LE(bytes, header.VehicleID);
    for (const std::uint8_t flag : {header.HasDFF, header.HasTXD, header.HasGXT, header.HasHandling,
                                    header.HasVehicles, header.HasCarcols})
        bytes.push_back(flag);
    return bytes;
}

fileio::ByteBuffer CarLengthsBytes(const TCarLengths& lengths)
{
    fileio::ByteBuffer bytes;
    for (const std::int32_t length : {lengths.LenDFF, lengths.LenTXD, lengths.LenGXT, lengths.LenHandling,
                                      lengths.LenHandlingSpecial, lengths.LenVehicles, lengths.LenCarcols})
        fileio::AppendU32LE(bytes, std::uint32_t(length));
    return bytes;
}

TCarHeader DecodeCarHeader(std::span<const std::uint8_t, CarHeaderSize> bytes)
{
    TCarHeader header;
    std::copy(bytes.begin(), bytes.begin() + 3, header.Magic.begin());
    header.Version = bytes[3];
    header.VehicleID = fileio::LoadU32LE(bytes.subspan<4, 4>());
    header.HasDFF = bytes[8];
    header.HasTXD = bytes[9];
    header.HasGXT = bytes[10];
    header.HasHandling = bytes[11];
    header.HasVehicles = bytes[12];
    header.HasCarcols = bytes[13];
    return header;
}

TCarLengths DecodeCarLengths(std::span<const std::uint8_t, CarLengthsSize> bytes)
{
    const auto at = [bytes](std::size_t index) {
        return std::int32_t(fileio::LoadU32LE(std::span<const std::uint8_t, 4>(bytes.data() + 4 * index, 4)));
    };
    return {at(0), at(1), at(2), at(3), at(4), at(5), at(6)};
}

namespace {

fileio::ByteBuffer ReadRegion(fileio::TStream& package, std::size_t count, const char* what)
{
    if (package.Size() < package.Position() + count)
        throw fileio::TVehmiraError(std::string("The package is too short for its ") + what + " (" +
                                    std::to_string(package.Size()) + " bytes)");
    return package.ReadBytes(count);
}

// The checks an import makes of the decoded header and lengths.
TCarHeader CheckedHeader(const fileio::ByteBuffer& bytes)
{
    const TCarHeader header = DecodeCarHeader(std::span(bytes).first<CarHeaderSize>());
    // The magic is compared byte for byte: "car" is not a package.
    if (header.Magic != std::array<char, 3>{'C', 'A', 'R'})
        throw fileio::TVehmiraError(fileio::TErrorKind::NotCarPackage,
                                    "The file is not a CAR package (its first bytes are not \"CAR\")");
    if (header.Version != CarVersion)
        throw fileio::TVehmiraError(fileio::TErrorKind::UnsupportedCarVersion,
                                    "CAR package version " + std::to_string(header.Version) + " is not supported",
                                    {.Path = {}, .Subject = {}, .Number = header.Version});
    return header;
}

TCarLengths CheckedLengths(const fileio::ByteBuffer& bytes)
{
    const TCarLengths lengths = DecodeCarLengths(std::span(bytes).first<CarLengthsSize>());
    for (const std::int32_t length : {lengths.LenDFF, lengths.LenTXD, lengths.LenGXT, lengths.LenHandling,
                                      lengths.LenHandlingSpecial, lengths.LenVehicles, lengths.LenCarcols})
        if (length < 0)
            throw fileio::TVehmiraError("The package's length table holds a negative length (" +
                                        std::to_string(length) + ")");
    return lengths;
}

// Places the next piece at the running position; an absent piece takes no room.
TCarPiece Place(std::uint8_t flag, std::int32_t length, std::uint64_t& position, std::uint64_t packageSize,
                const char* name)
{
    TCarPiece piece;
    if (flag == 0)
        return piece;
    piece.Present = true;
    piece.Offset = position;
    piece.Length = std::uint64_t(length);
    if (piece.Length > packageSize || piece.Offset > packageSize - piece.Length)
        throw fileio::TVehmiraError(std::string("The package's ") + name + " piece runs past the end of the file (" +
                                    std::to_string(piece.Offset + piece.Length) + " of " + std::to_string(packageSize) +
                                    " bytes)");
    position += piece.Length;
    return piece;
}

} // namespace

TCarLayout ReadCarLayout(fileio::TStream& package)
{
    package.Seek(0);
    TCarLayout layout;
    layout.Header = CheckedHeader(ReadRegion(package, CarHeaderSize, "header"));
    layout.Lengths = CheckedLengths(ReadRegion(package, CarLengthsSize, "length table"));

    const TCarHeader& h = layout.Header;
    const TCarLengths& l = layout.Lengths;
    const std::uint64_t size = package.Size();
    std::uint64_t position = CarDataOffset;
    layout.DFF = Place(h.HasDFF, l.LenDFF, position, size, "model");
    layout.TXD = Place(h.HasTXD, l.LenTXD, position, size, "texture dictionary");
    layout.GXT = Place(h.HasGXT, l.LenGXT, position, size, "display name");
    // One flag governs both handling pieces, the main line first.
    layout.Handling = Place(h.HasHandling, l.LenHandling, position, size, "main handling line");
    layout.HandlingSpecial = Place(h.HasHandling, l.LenHandlingSpecial, position, size, "special handling line");
    layout.Vehicles = Place(h.HasVehicles, l.LenVehicles, position, size, "Vehicles.ide line");
    layout.Carcols = Place(h.HasCarcols, l.LenCarcols, position, size, "Carcols.dat line");
    return layout;
}

std::string ReadCarTextPiece(fileio::TStream& package, const TCarPiece& piece)
{
    if (!piece.Present)
        return {};
    package.Seek(piece.Offset);
    const fileio::ByteBuffer bytes = package.ReadBytes(piece.Length);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace vehmira::package
