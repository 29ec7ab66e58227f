#pragma once
// Told of every change a TFileStream makes to its file, as it is made, so that
// a caller can follow the bytes it writes (a checksum of appended data)
// without reading them back.

#include <cstdint>
#include <span>

namespace vehmira::fileio {

class TWriteObserver {
public:
    virtual ~TWriteObserver() = default;
    // bytes now stand at position.
    virtual void Written(std::uint64_t position, std::span<const std::uint8_t> bytes) = 0;
    virtual void Truncated(std::uint64_t size) = 0;
    // A write or truncation failed, perhaps part-way: what the file holds can
    // no longer be followed.
    virtual void LostTrack() = 0;
    // The stream is closing; it reports nothing more.
    virtual void StreamClosed() = 0;
};

} // namespace vehmira::fileio
