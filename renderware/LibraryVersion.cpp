#include "renderware/LibraryVersion.h"

namespace vehmira::renderware {

std::string TLibraryVersion::Text() const
{
    return std::to_string(Version >> 16) + "." + std::to_string((Version >> 12) & 0xF) + "." +
           std::to_string((Version >> 8) & 0xF) + "." + std::to_string(Version & 0xFF);
}

TLibraryVersion DecodeLibraryStamp(std::uint32_t stamp)
{
    if ((stamp & 0xFFFF0000u) == 0)
        return {stamp << 8, 0, false};
    const std::uint32_t version = (((stamp >> 14) & 0x3FF00u) + 0x30000u) | ((stamp >> 16) & 0x3Fu);
    return {version, stamp & 0xFFFFu, true};
}

std::uint32_t EncodeLibraryStamp(std::uint32_t version, std::uint32_t build)
{
    if (version < 0x32000)
        return version >> 8;
    return ((version - 0x30000u) & 0x3FF00u) << 14 | (version & 0x3Fu) << 16 | (build & 0xFFFFu);
}

bool PcGameReadsVersion(const TLibraryVersion& version)
{
    return version.Version >= OldestVersionPcGameReads && version.Version <= NewestVersionPcGameReads;
}

} // namespace vehmira::renderware
