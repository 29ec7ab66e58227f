#include "cli/CarInfo.h"

#include "cli/JsonText.h"
#include "cli/OutputText.h"
#include "cli/PreviewText.h"

#include <cstdio>

namespace vehmira::cli {

namespace {
constexpr std::array<const char*, 6> FlagNames = {"dff", "txd", "gxt", "handling", "vehicles", "carcols"};

std::string PrintableMagic(const package::TCarHeader& header)
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

} // namespace

void PrintCarInfo(std::ostream& out, const std::string& file, const package::TCarInspection& info,
                  const operations::TVehiclePreview* preview)
{
    out << "file: " << file << "\nsize: " << info.FileSize << " bytes\n";
    if (info.Header) {
        out << "magic: " << PrintableMagic(*info.Header) << "\nversion: " << unsigned(info.Header->Version)
            << "\nvehicle ID: " << info.Header->VehicleID << "\nflags:";
        const auto flags = package::HeaderFlags(*info.Header);
        for (std::size_t i = 0; i < flags.size(); ++i)
            out << ' ' << FlagNames[i] << '=' << unsigned(flags[i]);
        out << '\n';
    }
    if (info.Lengths) {
        out << "lengths:";
        const auto lengths = package::LengthArray(*info.Lengths);
        for (std::size_t i = 0; i < lengths.size(); ++i)
            out << ' ' << package::CarPieceNames[i] << '=' << lengths[i];
        out << '\n';
    }
    for (std::size_t i = 0; i < info.Texts.size(); ++i)
        if (info.Texts[i])
            out << package::CarPieceNames[i] << ": " << GameTextToUtf8(*info.Texts[i]) << '\n';
    if (preview)
        PrintPreviewText(out, *preview);
    out << "well-formed: " << (info.Problem.empty() ? "yes" : "no: " + info.Problem) << '\n';
}

void PrintCarInfoJson(std::ostream& out, const std::string& file, const package::TCarInspection& info,
                      const operations::TVehiclePreview* preview)
{
    out << "{\n  \"file\": " << JsonString(file) << ",\n  \"size\": " << info.FileSize;
    if (info.Header) {
        out << ",\n  \"magic\": " << JsonString(PrintableMagic(*info.Header))
            << ",\n  \"version\": " << unsigned(info.Header->Version)
            << ",\n  \"vehicleId\": " << info.Header->VehicleID << ",\n  \"flags\": {";
        const auto flags = package::HeaderFlags(*info.Header);
        for (std::size_t i = 0; i < flags.size(); ++i)
            out << (i == 0 ? "" : ", ") << JsonString(FlagNames[i]) << ": " << unsigned(flags[i]);
        out << '}';
    }
    if (info.Lengths) {
        out << ",\n  \"lengths\": {";
        const auto lengths = package::LengthArray(*info.Lengths);
        for (std::size_t i = 0; i < lengths.size(); ++i)
            out << (i == 0 ? "" : ", ") << JsonString(package::CarPieceNames[i]) << ": " << lengths[i];
        out << '}';
    }
    out << ",\n  \"texts\": {";
    bool first = true;
    for (std::size_t i = 0; i < info.Texts.size(); ++i)
        if (info.Texts[i]) {
            out << (first ? "" : ", ") << JsonString(package::CarPieceNames[i]) << ": "
                << JsonString(GameTextToUtf8(*info.Texts[i]));
            first = false;
        }
    out << "},\n  \"wellFormed\": " << (info.Problem.empty() ? "true" : "false")
        << ",\n  \"problem\": " << JsonString(info.Problem);
    if (preview)
        PrintPreviewJsonKeys(out, *preview);
    out << "\n}\n";
}

} // namespace vehmira::cli
