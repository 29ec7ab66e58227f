#pragma once
// A bounds-checked little-endian reader over a byte span. Every read that would
// pass the end raises TVehmiraError naming what was being read.

#include "fileio/ByteOrder.h"
#include "fileio/Errors.h"

#include <string>
#include <string_view>

namespace vehmira::fileio {

class TByteReader {
public:
    TByteReader(std::span<const std::uint8_t> data, std::string what) : Data(data), What(std::move(what)) {}

    std::size_t Position() const { return Pos; }
    std::size_t Size() const { return Data.size(); }
    std::size_t Remaining() const { return Data.size() - Pos; }

    void Seek(std::uint64_t position, std::string_view field)
    {
        if (position > Data.size())
            Fail(field, position);
        Pos = std::size_t(position);
    }

    std::span<const std::uint8_t> Bytes(std::uint64_t count, std::string_view field)
    {
        if (count > Remaining())
            Fail(field, Pos + count);
        auto result = Data.subspan(Pos, std::size_t(count));
        Pos += std::size_t(count);
        return result;
    }

    std::uint8_t U8(std::string_view field) { return Bytes(1, field)[0]; }
    std::uint32_t U32(std::string_view field) { return LoadU32LE(Bytes(4, field).first<4>()); }
    std::int32_t I32(std::string_view field) { return std::int32_t(U32(field)); }

private:
    [[noreturn]] void Fail(std::string_view field, std::uint64_t needed) const
    {
        throw TVehmiraError(What + ": " + std::string(field) + " runs past the end of the data (needs " +
                            std::to_string(needed) + " bytes, has " + std::to_string(Data.size()) + ")");
    }

    std::span<const std::uint8_t> Data;
    std::string What;
    std::size_t Pos = 0;
};

} // namespace vehmira::fileio
