#include "cli/CarInfo.h"

#include "cli/JsonText.h"
#include "cli/OutputText.h"
#include "cli/RenderWareChunks.h"
#include "fileio/ByteReader.h"
#include "fileio/FileStream.h"
#include "package/Import.h"

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

// What is wrong with a present piece that the layout placed inside the file, or nothing.
std::string CheckPresentPiece(TStream& file, std::size_t index, const TCarPiece& piece, TCarInfo& info)
{
    const std::string name = CarPieceNames[index];
    if (index < 2) {
        if (piece.Length < 4)
            return "the " + name + " piece is present but holds no RenderWare data (" +
                   std::to_string(piece.Length) + " bytes)";
        file.Seek(piece.Offset);
        const std::uint32_t type = *RenderWare::RootChunkType(file.ReadBytes(4));
        const auto kind = index == 0 ? RenderWare::TRootKind::Model : RenderWare::TRootKind::TextureDictionary;
        if (RenderWare::IsRootChunkOf(kind, type))
            return {};
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%X", unsigned(type));
        return "the " + name + " piece is not a RenderWare " + (index == 0 ? "model" : "texture dictionary") +
               " (root chunk type " + hex + ")";
    }
    if (piece.Length > LongestShownText)
        return {};
    const std::string& text = info.Texts[index].emplace(ReadCarTextPiece(file, piece));
    if (text.find_first_of("\r\n") != std::string::npos)
        return "the " + name + " piece holds a line break";
    return {};
}

// Beyond what an import's reader refuses: pieces that are not what their kind
// must be, and bytes that the reader would skip or misplace.
std::string CheckPieces(TStream& file, const TCarLayout& layout, TCarInfo& info)
{
    const std::array<TCarPiece, 7> pieces = {layout.DFF,      layout.TXD,      layout.GXT,    layout.Handling,
                                             layout.HandlingSpecial, layout.Vehicles, layout.Carcols};
    const auto lengths = LengthArray(layout.Lengths);
    std::string problem;
    std::uint64_t end = CarDataOffset;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        std::string found;
        if (pieces[i].Present) {
            found = CheckPresentPiece(file, i, pieces[i], info);
            end = pieces[i].Offset + pieces[i].Length;
        } else if (lengths[i] != 0) {
            found = "the " + std::string(CarPieceNames[i]) + " piece is marked absent but has length " +
                    std::to_string(lengths[i]) + "; a reader would take its bytes for the next piece";
        }
        if (problem.empty())
            problem = std::move(found);
    }
    if (problem.empty() && end < info.FileSize)
        problem = std::to_string(info.FileSize - end) + " bytes follow the last piece";
    return problem;
}

std::string Describe(const TImportError& error)
{
    const std::string_view userMessage = TrimBlanks(error.UserMessage);
    return userMessage.empty() ? std::string(error.what()) : std::string(userMessage) + " " + error.what();
}
} // namespace

TCarInfo InspectCarPackage(const std::filesystem::path& path)
{
    TFileStream file(path, TFileAccess::Read);
    return InspectCarPackage(file);
}

TCarInfo InspectCarPackage(TStream& file)
{
    TCarInfo info;
    file.Seek(0);
    info.FileSize = file.Size();
    // The header and lengths are shown as far as the file holds them, even
    // when an import would refuse the package.
    const ByteBuffer head = file.ReadBytes(std::min<std::uint64_t>(info.FileSize, CarDataOffset));
    TByteReader reader(head, "CAR package");
    if (head.size() >= CarHeaderSize)
        info.Header = ReadHeader(reader);
    if (head.size() == CarDataOffset)
        info.Lengths = ReadLengths(reader);
    try {
        const TCarLayout layout = ReadCarLayout(file);
        info.Problem = CheckPieces(file, layout, info);
    } catch (const TImportError& error) {
        info.Problem = Describe(error);
    }
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
