#include "package/CarValidation.h"

#include "fileio/Errors.h"
#include "fileio/FileStream.h"
#include "package/ImportedLine.h"
#include "renderware/RootChunk.h"

#include <algorithm>
#include <cstdio>

namespace vehmira::package {

namespace {
// Longer text pieces are not shown (a line of the game's files is far shorter).
constexpr std::int32_t LongestShownText = 64 * 1024;

constexpr std::size_t GXTPieceIndex = 2;

constexpr std::array<TKeyedLineKind, 4> LinePieceKinds = {TKeyedLineKind::MainHandling,
                                                          TKeyedLineKind::SpecialHandling, TKeyedLineKind::Vehicles,
                                                          TKeyedLineKind::Carcols};

// The import's refusal of a line piece, worded for the piece.
std::string LinePieceRefusal(const fileio::TVehmiraError& error, const std::string& name)
{
    const fileio::TErrorFacts& facts = error.Facts();
    const std::string piece = "the " + name + " piece ";
    switch (error.Kind()) {
    case fileio::TErrorKind::ImportedLineBreak: return piece + "holds a line break";
    case fileio::TErrorKind::ImportedLineZeroByte:
        return piece + "holds a zero byte (byte " + std::to_string(facts.Number) + ")";
    case fileio::TErrorKind::ImportedLineComment: return piece + "is a comment line";
    case fileio::TErrorKind::ImportedLineTooShort:
        return piece + "has " + std::to_string(facts.Number) + " field(s); the import needs at least " +
               std::to_string(facts.Needed);
    case fileio::TErrorKind::ImportedLineReadBack: return piece + "would not read back as its fields once merged";
    case fileio::TErrorKind::ImportedLineNoMarker:
        return piece + "does not start with a special-line marker (\"!\", \"$\" or \"%\")";
    default: return piece + "is refused: " + error.what();
    }
}

// What the import refuses in a text piece: a line break or a zero byte in the
// display name; in a line piece, whatever the import's own line rules refuse
// (a handling or colour piece of blanks only it skips).
std::string TextPieceProblem(std::size_t index, std::string_view text, const std::string& name)
{
    if (index == GXTPieceIndex) {
        if (text.find_first_of("\r\n") != std::string_view::npos)
            return "the " + name + " piece holds a line break";
        if (text.find('\0') != std::string_view::npos)
            return "the " + name + " piece holds a zero byte";
        return {};
    }
    const TKeyedLineKind kind = LinePieceKinds[index - GXTPieceIndex - 1];
    if (IsSkippedPackageLine(kind, text))
        return {};
    try {
        CheckImportedLine(kind, text);
    } catch (const fileio::TVehmiraError& error) {
        return LinePieceRefusal(error, name);
    }
    return {};
}

// What is wrong with a present piece that the layout placed inside the file, or nothing.
std::string CheckPresentPiece(fileio::TStream& file, std::size_t index, const TCarPiece& piece, TCarInspection& info)
{
    const std::string name = CarPieceNames[index];
    if (index < 2) {
        if (piece.Length < 4)
            return "the " + name + " piece is present but holds no RenderWare data (" +
                   std::to_string(piece.Length) + " bytes)";
        file.Seek(piece.Offset);
        const std::uint32_t type = *renderware::RootChunkType(file.ReadBytes(4));
        if (renderware::IsRootOf(index == 0 ? renderware::TRenderWareStream::Model
                                            : renderware::TRenderWareStream::TextureDictionary,
                                 type))
            return {};
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%X", unsigned(type));
        return "the " + name + " piece is not a RenderWare " + (index == 0 ? "model" : "texture dictionary") +
               " (root chunk type " + hex + ")";
    }
    // The import reads every text piece whole, so its refusals are looked for
    // in the whole piece, however long; only a short one is shown.
    std::string text = ReadCarTextPiece(file, piece);
    std::string problem = TextPieceProblem(index, text, name);
    if (text.size() <= std::size_t(LongestShownText))
        info.Texts[index] = std::move(text);
    return problem;
}

// Beyond what an import's reader refuses: pieces that are not what their kind
// must be, and bytes that the reader would skip or misplace.
std::string CheckPieces(fileio::TStream& file, const TCarLayout& layout, TCarInspection& info)
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

} // namespace

std::array<std::int32_t, 7> LengthArray(const TCarLengths& lengths)
{
    return {lengths.LenDFF,      lengths.LenTXD,         lengths.LenGXT,    lengths.LenHandling,
            lengths.LenHandlingSpecial, lengths.LenVehicles, lengths.LenCarcols};
}

std::array<std::uint8_t, 6> HeaderFlags(const TCarHeader& header)
{
    return {header.HasDFF, header.HasTXD, header.HasGXT, header.HasHandling, header.HasVehicles, header.HasCarcols};
}

TCarInspection InspectCarPackage(fileio::TStream& file)
{
    TCarInspection info;
    info.FileSize = file.Size();
    // The header and lengths are shown as far as the file holds them, even
    // when an import would refuse the package.
    file.Seek(0);
    const fileio::ByteBuffer head = file.ReadBytes(std::min<std::uint64_t>(info.FileSize, CarDataOffset));
    if (head.size() >= CarHeaderSize)
        info.Header = DecodeCarHeader(std::span(head).first<CarHeaderSize>());
    if (head.size() == CarDataOffset)
        info.Lengths = DecodeCarLengths(std::span(head).subspan<CarHeaderSize, CarLengthsSize>());
    try {
        const TCarLayout layout = ReadCarLayout(file);
        info.Problem = CheckPieces(file, layout, info);
    } catch (const fileio::TVehmiraError& error) {
        info.Problem = error.what();
    }
    return info;
}

TCarInspection InspectCarPackage(const std::filesystem::path& path)
{
    fileio::TFileStream file(path, fileio::TFileAccess::Read);
    return InspectCarPackage(file);
}

} // namespace vehmira::package
