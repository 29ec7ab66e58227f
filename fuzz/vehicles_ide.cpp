// The vehicle definitions reader: every record is one line of a CARS section,
// and its fields are that line's fields; the line check reads no more of a
// record's line than it holds, and the game's short line is forgiven only for a plane.
#include "fileio/Errors.h"
#include "FuzzSupport.h"
#include "gamedata/TextLines.h"
#include "gamedata/VehicleLineCheck.h"
#include "gamedata/VehiclesIde.h"

using namespace vehmira::fileio;
using namespace vehmira::gamedata;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TVehicleFile file;
    try {
        file.LoadFromText(AsText(data, size));
    } catch (const TVehmiraError&) {
    }
    for (const TVehicleRecord& record : file.Vehicles) {
        const TLineList fields = SplitFields(record.Line);
        Require(fields.size() >= 6, "a record's line holds at least six fields");
        std::int32_t id = 0;
        Require(ParseVehicleID(fields[0], id) && id == record.ID, "the ID is the first field's number");
        Require(record.ModelName == fields[1] && record.TxdName == fields[2] && record.VehicleType == fields[3] &&
                    record.HandlingID == fields[4] && record.GameName == fields[5],
                "the record's names are the line's fields");
        Require(record.Line.find('#') == std::string::npos, "a record's line has its comment cut off");
        Require(file.FindLastByID(record.ID) != nullptr, "every record is found by its ID");
        for (const TCheckFinding& finding : CheckVehicleLines(record.Line, "", TDefinitionOrigin::GameFile)) {
            if (finding.Code == TCheckCode::IdeFields || finding.Code == TCheckCode::IdeFieldsGameLine)
                Require(finding.Facts.Number >= 0 && std::size_t(finding.Facts.Number) <= fields.size(),
                        "the check reads no more fields than the record's line holds");
            if (finding.Code == TCheckCode::IdeFieldsGameLine)
                Require(record.VehicleType == "plane" && finding.Facts.Number == 11,
                        "only the game's own 11-field plane line is forgiven");
        }
    }
    return 0;
}
