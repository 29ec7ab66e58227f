#pragma once
// Data\Vehicles.ide: one TVehicleRecord per vehicle line of the "CARS" sections.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vehmira::gamedata {

struct TVehicleRecord {
    std::int32_t ID = 0;
    std::string ModelName;   // field 1; the archive entry is ModelName + ".DFF"
    std::string TxdName;     // field 2; the archive entry is TxdName + ".TXD"
    std::string VehicleType; // field 3
    std::string HandlingID;  // field 4; keys Data\Handling.cfg
    std::string GameName;    // field 5; the GXT key of the display name
    std::string Line;        // the line after comment removal, not trimmed
    std::size_t LineNumber = 0; // of the line in its file, from 1
};

class TVehicleFile {
public:
    std::vector<TVehicleRecord> Vehicles;

    // Appends the records of the file. A non-integer ID raises an error naming
    // the line number and the text; the records before it stay.
    void LoadFromFile(const std::filesystem::path& fileName);
    void LoadFromText(std::string_view text, std::string_view fileLabel = "Data\\Vehicles.ide");

    // The last record whose ID equals id (the users that search by ID take the last), or none.
    const TVehicleRecord* FindLastByID(std::int32_t id) const;
};

// Calls visit(index, fields, line) for every vehicle line, in file order: a
// line of six or more fields inside a "CARS" section; index counts the file's
// lines from 0, line is the line after comment removal.
void VisitVehicleLines(std::string_view text,
                       const std::function<void(std::size_t, const std::vector<std::string>&, std::string&&)>& visit);

// A 32-bit signed decimal number with an optional sign, or nothing.
bool ParseVehicleID(std::string_view text, std::int32_t& value);

} // namespace vehmira::gamedata
