#include "gamedata/VehiclesIde.h"

#include "fileio/Errors.h"
#include "fileio/FileSystem.h"
#include "gamedata/AsciiCase.h"
#include "gamedata/TextLines.h"

#include <limits>

namespace vehmira::gamedata {

namespace {

constexpr std::string_view SectionStart = "CARS";
constexpr std::string_view SectionEnd = "END";
// A vehicle line holds at least ID, model, texture dictionary, type, handling ID and GXT key.
constexpr std::size_t VehicleFieldCount = 6;

[[noreturn]] void ThrowBadID(std::string_view fileLabel, std::size_t lineNumber, std::string_view text)
{
    throw fileio::TVehmiraError(std::string(fileLabel) + ", line " + std::to_string(lineNumber) + ": '" +
                                std::string(text) + "' is not a valid vehicle ID");
}

TVehicleRecord MakeRecord(const TLineList& fields, std::string line, std::string_view fileLabel, std::size_t lineNumber)
{
    TVehicleRecord record;
    if (!ParseVehicleID(fields[0], record.ID))
        ThrowBadID(fileLabel, lineNumber, fields[0]);
    record.ModelName = fields[1];
    record.TxdName = fields[2];
    record.VehicleType = fields[3];
    record.HandlingID = fields[4];
    record.GameName = fields[5];
    record.Line = std::move(line);
    record.LineNumber = lineNumber;
    return record;
}

} // namespace

bool ParseVehicleID(std::string_view text, std::int32_t& value)
{
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return false;
    // Accumulate in 64 bits; the limit allows one more below zero than above.
    const std::int64_t limit = std::int64_t(std::numeric_limits<std::int32_t>::max()) + (negative ? 1 : 0);
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > limit)
            return false;
    }
    value = std::int32_t(negative ? -magnitude : magnitude);
    return true;
}

void TVehicleFile::LoadFromFile(const std::filesystem::path& fileName)
{
    LoadFromText(fileio::ReadWholeFileText(fileName), fileio::PathToUtf8(fileName));
}

void VisitVehicleLines(std::string_view text,
                       const std::function<void(std::size_t, const TLineList&, std::string&&)>& visit)
{
    const TLineList lines = SplitLines(text);
    bool insideSection = false;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        std::optional<std::string> cleaned = StripCommentLine(lines[index]);
        if (!cleaned)
            continue;
        const TLineList fields = SplitFields(*cleaned);
        const std::string sectionWord = UpperAscii(fields[0]);
        // "END" is tested before and "CARS" after the record test, so neither border line becomes a record.
        if (sectionWord == SectionEnd)
            insideSection = false;
        if (insideSection && fields.size() >= VehicleFieldCount)
            visit(index, fields, std::move(*cleaned));
        if (sectionWord == SectionStart)
            insideSection = true;
    }
}

void TVehicleFile::LoadFromText(std::string_view text, std::string_view fileLabel)
{
    VisitVehicleLines(text, [&](std::size_t index, const TLineList& fields, std::string&& cleaned) {
        Vehicles.push_back(MakeRecord(fields, std::move(cleaned), fileLabel, index + 1));
    });
}

const TVehicleRecord* TVehicleFile::FindLastByID(std::int32_t id) const
{
    for (auto it = Vehicles.rbegin(); it != Vehicles.rend(); ++it)
        if (it->ID == id)
            return &*it;
    return nullptr;
}

} // namespace vehmira::gamedata
