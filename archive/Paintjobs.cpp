#include "archive/Paintjobs.h"

#include "archive/ArchiveLayout.h"
#include "gamedata/AsciiCase.h"

namespace vehmira::archive {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The name before the dot of a dictionary the game streams; none for any other entry.
std::optional<std::string_view> DictionaryName(std::string_view entryName)
{
    if (!IsStreamedEntryName(entryName))
        return std::nullopt;
    const std::size_t dot = entryName.find('.');
    if (!gamedata::EqualsIgnoringAsciiCase(entryName.substr(dot + 1, 3), "txd"))
        return std::nullopt;
    return entryName.substr(0, dot);
}

} // namespace

std::optional<std::string_view> PaintjobOwnerName(std::string_view entryName)
{
    const std::optional<std::string_view> name = DictionaryName(entryName);
    if (!name || name->empty() || !IsDigit(name->back()))
        return std::nullopt;
    std::size_t end = name->size();
    while (end > 0 && IsDigit((*name)[end - 1]))
        --end;
    return name->substr(0, end);
}

TPaintjobRegister::TPaintjobRegister(std::span<const TPaintjobVehicle> vehicles)
{
    for (const TPaintjobVehicle& vehicle : vehicles) {
        if (vehicle.ID < FirstPaintjobVehicleID || vehicle.ID > LastPaintjobVehicleID)
            continue;
        const auto [slot, added] = OwnerByModel.try_emplace(gamedata::UpperAscii(vehicle.ModelName), vehicle.ID);
        if (!added && vehicle.ID < slot->second)
            slot->second = vehicle.ID;
    }
}

void TPaintjobRegister::AddArchive(const TDIREntrys& entries)
{
    for (const TDIREntry& entry : entries) {
        const std::optional<std::string_view> dictionary = DictionaryName(entry.Name);
        if (!dictionary || !RegisteredDictionaries.insert(gamedata::UpperAscii(*dictionary)).second)
            continue;
        const std::optional<std::string_view> owner = PaintjobOwnerName(entry.Name);
        if (!owner)
            continue;
        const auto vehicle = OwnerByModel.find(gamedata::UpperAscii(*owner));
        if (vehicle != OwnerByModel.end())
            Paintjobs[vehicle->second].push_back(entry.Name);
    }
}

const std::vector<std::string>& TPaintjobRegister::Of(std::int32_t id) const
{
    static const std::vector<std::string> None;
    const auto found = Paintjobs.find(id);
    return found == Paintjobs.end() ? None : found->second;
}

} // namespace vehmira::archive
