#pragma once
// A seekable byte stream with 64-bit positions: the archive, package files and
// in-memory buffers all go through this interface.

#include "fileio/ByteOrder.h"

#include <cstdint>
#include <span>

namespace vehmira::fileio {

class TStream {
public:
    virtual ~TStream() = default;

    // Reads exactly buffer.size() bytes or raises an error; never a short read.
    virtual void Read(std::span<std::uint8_t> buffer) = 0;
    virtual void Write(std::span<const std::uint8_t> bytes) = 0;
    virtual void Seek(std::uint64_t position) = 0;
    virtual std::uint64_t Position() const = 0;
    virtual std::uint64_t Size() const = 0;

    ByteBuffer ReadBytes(std::uint64_t count);
};

// A stream over a growable byte buffer, for tests and small in-memory packages.
class TMemoryStream : public TStream {
public:
    TMemoryStream() = default;
    explicit TMemoryStream(ByteBuffer bytes) : Data(std::move(bytes)) {}

    void Read(std::span<std::uint8_t> buffer) override;
    void Write(std::span<const std::uint8_t> bytes) override;
    void Seek(std::uint64_t position) override { Pos = position; }
    std::uint64_t Position() const override { return Pos; }
    std::uint64_t Size() const override { return Data.size(); }

    const ByteBuffer& Bytes() const { return Data; }

private:
    ByteBuffer Data;
    std::uint64_t Pos = 0;
};

} // namespace vehmira::fileio
