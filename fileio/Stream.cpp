#include "fileio/Stream.h"

#include "fileio/Errors.h"

#include <algorithm>
#include <string>

namespace vehmira::fileio {

ByteBuffer TStream::ReadBytes(std::uint64_t count)
{
    const std::uint64_t position = Position();
    const std::uint64_t size = Size();
    if (position > size || count > size - position)
        throw TVehmiraError("Read of " + std::to_string(count) + " bytes at position " + std::to_string(position) +
                            " runs past the end of the data (" + std::to_string(size) + " bytes)");
    ByteBuffer bytes(static_cast<std::size_t>(count));
    Read(bytes);
    return bytes;
}

void TMemoryStream::Read(std::span<std::uint8_t> buffer)
{
    if (Pos > Data.size() || buffer.size() > Data.size() - Pos)
        throw TVehmiraError("Read of " + std::to_string(buffer.size()) + " bytes at position " + std::to_string(Pos) +
                            " runs past the end of the data (" + std::to_string(Data.size()) + " bytes)");
    std::copy_n(Data.begin() + std::ptrdiff_t(Pos), buffer.size(), buffer.begin());
    Pos += buffer.size();
}

void TMemoryStream::Write(std::span<const std::uint8_t> bytes)
{
    const std::uint64_t end = Pos + bytes.size();
    if (end > Data.size())
        Data.resize(std::size_t(end));
    std::copy(bytes.begin(), bytes.end(), Data.begin() + std::ptrdiff_t(Pos));
    Pos = end;
}

} // namespace vehmira::fileio
