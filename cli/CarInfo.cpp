#include "cli/CarInfo.h"

#include "cli/JsonText.h"
#include "cli/OutputText.h"
#include "fileio/ByteReader.h"
#include "fileio/FileStream.h"

#include <algorithm>
#include <cstdio>

namespace {
// Longer text pieces are not shown (a line of the game's files is far shorter).
constexpr std::int32_t LongestShownText = 64 * 1024;

std::array<std::int32_t, 7> LengthArray(const TCarLengths& lengths)
{
    return {lengths.LenDFF,      lengths.LenTXD,         lengths.LenGXT,    lengths.LenHandling,
            lengths.LenHandlingSpecial, lengths.LenVehicles, lengths.LenCarcols};
}

// The flag that governs each of the seven pieces (both handling pieces share one).
std::array<std::uint8_t, 7> PieceFlags(const TCarHeader& header)
{
    return {header.HasDFF,      header.HasTXD,      header.HasGXT,    header.HasHandling,
            header.HasHandling, header.HasVehicles, header.HasCarcols};
}

std::array<std::uint8_t, 6> HeaderFlags(const TCarHeader& header)
{
    return {header.HasDFF, header.HasTXD, header.HasGXT, header.HasHandling, header.HasVehicles, header.HasCarcols};
}

constexpr std::array<const char*, 6> FlagNames = {"dff", "txd", "gxt", "handling", "vehicles", "carcols"};

std::string PrintableMagic(const TCarHeader& header)
{
    std::string text;
    for (const char c : header.Magic) {
        if (c >= 0x20 && c < 0x7F) {
            text += c;
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", unsigned(static_cast<unsigned char>(c)));
            text += escaped;
        }
    }
    return text;
}

TCarHeader ReadHeader(TByteReader& reader)
{
    TCarHeader header;
    const auto magic = reader.Bytes(3, "magic");
    std::copy(magic.begin(), magic.end(), header.Magic.begin());
    header.Version = reader.U8("version");
    header.VehicleID = reader.U32("vehicle ID");
    for (std::uint8_t* flag : {&header.HasDFF, &header.HasTXD, &header.HasGXT, &header.HasHandling,
                               &header.HasVehicles, &header.HasCarcols})
        *flag = reader.U8("flags");
    return header;
}

TCarLengths ReadLengths(TByteReader& reader)
{
    TCarLengths lengths;
    for (std::int32_t* length : {&lengths.LenDFF, &lengths.LenTXD, &lengths.LenGXT, &lengths.LenHandling,
                                 &lengths.LenHandlingSpecial, &lengths.LenVehicles, &lengths.LenCarcols})
        *length = reader.I32("lengths");
    return lengths;
}

// What is wrong with a present piece that lies inside the file, or nothing.
std::string CheckPresentPiece(TFileStream& file, std::size_t index, std::uint64_t offset, std::int32_t length,
                              TCarInfo& info)
{
    const std::string name = CarPieceNames[index];
    if (index < 2) {
        // A model's root chunk is a clump (0x10) or a UV animation dictionary
        // before it (0x2B); a texture dictionary's is 0x16.
        if (length < 4)
            return "the " + name + " piece is present but holds no RenderWare data (" + std::to_string(length) +
                   " bytes)";
        file.Seek(offset);
        const ByteBuffer typeBytes = file.ReadBytes(4);
        const std::uint32_t type = LoadU32LE(std::span<const std::uint8_t, 4>(typeBytes.data(), 4));
        const bool fits = index == 0 ? (type == 0x10 || type == 0x2B) : type == 0x16;
        if (!fits) {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%X", unsigned(type));
            return "the " + name + " piece is not a RenderWare " + (index == 0 ? "model" : "texture dictionary") +
                   " (root chunk type " + hex + ")";
        }
        return {};
    }
    if (length > LongestShownText)
        return {};
    file.Seek(offset);
    const ByteBuffer bytes = file.ReadBytes(std::uint64_t(length));
    std::string& text = info.Texts[index].emplace(bytes.begin(), bytes.end());
    if (text.find_first_of("\r\n") != std::string::npos)
        return "the " + name + " piece holds a line break";
    return {};
}

// Walks the pieces as an import reads them; the first problem found is kept.
void CheckPieces(TFileStream& file, TCarInfo& info)
{
    const auto lengths = LengthArray(*info.Lengths);
    const auto flags = PieceFlags(*info.Header);
    std::uint64_t offset = CarDataOffset;
    auto note = [&](std::string problem) {
        if (info.Problem.empty())
            info.Problem = std::move(problem);
    };
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        const std::string name = CarPieceNames[i];
        if (lengths[i] < 0)
            return note("the " + name + " length is negative (" + std::to_string(lengths[i]) + ")");
        if (flags[i] == 0) {
            if (lengths[i] != 0)
                note("the " + name + " piece is marked absent but has length " + std::to_string(lengths[i]) +
                     "; a reader would take its bytes for the next piece");
            continue;
        }
        const std::uint64_t end = offset + std::uint64_t(lengths[i]);
        if (end > info.FileSize)
            return note("the " + name + " piece (bytes " + std::to_string(offset) + " to " + std::to_string(end) +
                        ") runs past the end of the file");
        note(CheckPresentPiece(file, i, offset, lengths[i], info));
        offset = end;
    }
    if (offset < info.FileSize)
        note(std::to_string(info.FileSize - offset) + " bytes follow the last piece");
}
} // namespace

TCarInfo InspectCarPackage(const std::filesystem::path& path)
{
    TCarInfo info;
    TFileStream file(path, TFileAccess::Read);
    info.FileSize = file.Size();
    const ByteBuffer head = file.ReadBytes(std::min<std::uint64_t>(info.FileSize, CarDataOffset));
    TByteReader reader(head, "CAR package");
    if (head.size() < CarHeaderSize) {
        info.Problem = "the file is " + std::to_string(head.size()) + " bytes long, shorter than the " +
                       std::to_string(CarHeaderSize) + "-byte header";
        return info;
    }
    info.Header = ReadHeader(reader);
    if (head.size() == CarDataOffset)
        info.Lengths = ReadLengths(reader);
    if (std::string_view(info.Header->Magic.data(), 3) != "CAR")
        info.Problem = std::string(TrimBlanks(InvalidCarFileText)) + " The file does not begin with \"CAR\".";
    else if (info.Header->Version != CarVersion)
        info.Problem = std::string(TrimBlanks(UnsupportedCarFileText)) + " Its version is " +
                       std::to_string(info.Header->Version) + "; this program reads version " +
                       std::to_string(CarVersion) + ".";
    else if (!info.Lengths)
        info.Problem = "the file ends inside the length table (" + std::to_string(head.size()) + " of " +
                       std::to_string(CarDataOffset) + " bytes)";
    else
        CheckPieces(file, info);
    return info;
}

void PrintCarInfo(std::ostream& out, const std::string& file, const TCarInfo& info)
{
    out << "file: " << file << "\nsize: " << info.FileSize << " bytes\n";
    if (info.Header) {
        out << "magic: " << PrintableMagic(*info.Header) << "\nversion: " << unsigned(info.Header->Version)
            << "\nvehicle ID: " << info.Header->VehicleID << "\nflags:";
        const auto flags = HeaderFlags(*info.Header);
        for (std::size_t i = 0; i < flags.size(); ++i)
            out << ' ' << FlagNames[i] << '=' << unsigned(flags[i]);
        out << '\n';
    }
    if (info.Lengths) {
        out << "lengths:";
        const auto lengths = LengthArray(*info.Lengths);
        for (std::size_t i = 0; i < lengths.size(); ++i)
            out << ' ' << CarPieceNames[i] << '=' << lengths[i];
        out << '\n';
    }
    for (std::size_t i = 0; i < info.Texts.size(); ++i)
        if (info.Texts[i])
            out << CarPieceNames[i] << ": " << GameTextToUtf8(*info.Texts[i]) << '\n';
    out << "well-formed: " << (info.Problem.empty() ? "yes" : "no: " + info.Problem) << '\n';
}

void PrintCarInfoJson(std::ostream& out, const std::string& file, const TCarInfo& info)
{
    out << "{\n  \"file\": " << JsonString(file) << ",\n  \"size\": " << info.FileSize;
    if (info.Header) {
        out << ",\n  \"magic\": " << JsonString(PrintableMagic(*info.Header))
            << ",\n  \"version\": " << unsigned(info.Header->Version)
            << ",\n  \"vehicleId\": " << info.Header->VehicleID << ",\n  \"flags\": {";
        const auto flags = HeaderFlags(*info.Header);
        for (std::size_t i = 0; i < flags.size(); ++i)
            out << (i == 0 ? "" : ", ") << JsonString(FlagNames[i]) << ": " << unsigned(flags[i]);
        out << '}';
    }
    if (info.Lengths) {
        out << ",\n  \"lengths\": {";
        const auto lengths = LengthArray(*info.Lengths);
        for (std::size_t i = 0; i < lengths.size(); ++i)
            out << (i == 0 ? "" : ", ") << JsonString(CarPieceNames[i]) << ": " << lengths[i];
        out << '}';
    }
    out << ",\n  \"texts\": {";
    bool first = true;
    for (std::size_t i = 0; i < info.Texts.size(); ++i)
        if (info.Texts[i]) {
            out << (first ? "" : ", ") << JsonString(CarPieceNames[i]) << ": " << JsonString(GameTextToUtf8(*info.Texts[i]));
            first = false;
        }
    out << "},\n  \"wellFormed\": " << (info.Problem.empty() ? "true" : "false")
        << ",\n  \"problem\": " << JsonString(info.Problem) << "\n}\n";
}
