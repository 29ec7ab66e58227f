#include "engine/AppendedDataCRC.h"

#include "gamedata/CRC32.h"

namespace vehmira::engine {

TAppendedDataCRC::TAppendedDataCRC(fileio::TFileStream& file) : File(&file), Start(file.Size()), End(Start)
{
    // Only one follower at a time: a second would silently replace the first.
    if (file.CurrentObserver() != nullptr)
        Following = false;
    else
        file.SetObserver(this);
}

TAppendedDataCRC::~TAppendedDataCRC()
{
    if (File != nullptr && File->CurrentObserver() == this)
        File->SetObserver(nullptr);
}

std::optional<std::uint32_t> TAppendedDataCRC::CRCOfRange(std::uint64_t begin, std::uint64_t end) const
{
    if (!Following || begin != Start || end != End)
        return std::nullopt;
    return ~CRCRegister;
}

void TAppendedDataCRC::Written(std::uint64_t position, std::span<const std::uint8_t> bytes)
{
    // Writes wholly before the start (the directory at the head) are not ours to follow.
    if (bytes.empty() || position + bytes.size() <= Start)
        return;
    if (!Following || position != End) {
        Following = false;
        return;
    }
    CRCRegister = gamedata::CRC32Update(bytes, CRCRegister);
    End += bytes.size();
}

void TAppendedDataCRC::Truncated(std::uint64_t size)
{
    if (size != End)
        Following = false;
}

void TAppendedDataCRC::LostTrack() { Following = false; }

void TAppendedDataCRC::StreamClosed()
{
    Following = false;
    File = nullptr; // gone: never touch it again
}

} // namespace vehmira::engine
