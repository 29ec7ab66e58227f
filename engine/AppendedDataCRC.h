#pragma once
// The CRC-32 of the bytes an import appends to the archive, taken as they are
// written, so that the commit need not read megabytes back to record it.
// Anything it cannot follow (a write elsewhere in the appended region, a
// failed write, a truncation, a closed stream) makes it give no answer, and
// the caller reads the region back instead.

#include "fileio/FileStream.h"

#include <cstdint>
#include <optional>

namespace vehmira::engine {

class TAppendedDataCRC final : public fileio::TWriteObserver {
public:
    // Follows the stream from its present end; stops following when destroyed.
    explicit TAppendedDataCRC(fileio::TFileStream& file);
    ~TAppendedDataCRC() override;
    TAppendedDataCRC(const TAppendedDataCRC&) = delete;
    TAppendedDataCRC& operator=(const TAppendedDataCRC&) = delete;

    // CRC-32 of bytes [begin, end) of the file when begin is where following
    // started and exactly the bytes up to end were seen written, in order,
    // with nothing else changing them.
    std::optional<std::uint32_t> CRCOfRange(std::uint64_t begin, std::uint64_t end) const;

    void Written(std::uint64_t position, std::span<const std::uint8_t> bytes) override;
    void Truncated(std::uint64_t size) override;
    void LostTrack() override;
    void StreamClosed() override;

private:
    fileio::TFileStream* File;
    std::uint64_t Start;
    std::uint64_t End;
    std::uint32_t CRCRegister = 0xFFFFFFFFu;
    bool Following = true;
};

} // namespace vehmira::engine
