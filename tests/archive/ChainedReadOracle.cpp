#include "archive/ChainedReadOracle.h"

#include <algorithm>
#include <cctype>
#include <set>

using namespace vehmira::fileio;

namespace ChainedReadOracle {

namespace {

constexpr std::uint64_t Sector = 2048;

std::uint32_t U32At(const ByteBuffer& image, std::size_t at)
{
    return std::uint32_t(image.at(at)) | std::uint32_t(image.at(at + 1)) << 8 | std::uint32_t(image.at(at + 2)) << 16 |
           std::uint32_t(image.at(at + 3)) << 24;
}

std::string Folded(const std::string& text)
{
    std::string folded;
    for (const char c : text)
        folded += (c >= 'a' && c <= 'z') ? char(c - 32) : c;
    return folded;
}

// The game's key for a streamed entry: the name before the first dot (found
// within the first 21 characters) and the first three letters after it,
// upper-cased; empty for an entry it does not stream.
std::string StreamedKey(const std::string& name)
{
    const auto dot = name.find('.');
    if (dot == std::string::npos || dot > 20 || name.size() < dot + 4)
        return {};
    const std::string kind = Folded(name.substr(dot + 1, 3));
    for (const char* known : {"DFF", "TXD", "COL", "IPL", "DAT", "IFP", "RRR", "SCM"})
        if (kind == known)
            return Folded(name.substr(0, dot)) + "." + kind;
    return {};
}

ByteBuffer BytesAt(const ByteBuffer& image, std::uint64_t begin, std::uint64_t length)
{
    ByteBuffer bytes(length, 0);
    for (std::uint64_t i = 0; i < length && begin + i < image.size(); ++i)
        bytes[i] = image[begin + i];
    return bytes;
}

} // namespace

std::vector<TEntry> ParseDirectory(const ByteBuffer& image)
{
    std::vector<TEntry> entries;
    const std::uint32_t count = U32At(image, 4);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = 8 + std::size_t(i) * 32;
        TEntry entry;
        entry.Offset = U32At(image, at);
        entry.Size = U32At(image, at + 4);
        for (std::size_t c = 0; c < 24 && image.at(at + 8 + c) != 0; ++c)
            entry.Name += char(image[at + 8 + c]);
        entries.push_back(entry);
    }
    return entries;
}

std::vector<bool> SkippedDuplicates(const std::vector<TEntry>& entries)
{
    std::vector<bool> skipped;
    std::set<std::string> seen;
    for (const TEntry& entry : entries) {
        const std::string key = StreamedKey(entry.Name);
        skipped.push_back(!key.empty() && !seen.insert(key).second);
    }
    return skipped;
}

std::vector<std::vector<std::size_t>> LinkedRuns(const std::vector<TEntry>& entries)
{
    std::vector<std::vector<std::size_t>> runs;
    std::vector<std::size_t> current;
    const std::vector<bool> skipped = SkippedDuplicates(entries);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (skipped[i])
            continue; // the chain runs on across it
        if (StreamedKey(entries[i].Name).empty()) {
            if (current.size() > 1)
                runs.push_back(current);
            current.clear();
            continue;
        }
        current.push_back(i);
    }
    if (current.size() > 1)
        runs.push_back(current);
    return runs;
}

ByteBuffer OwnBytes(const ByteBuffer& image, const TEntry& entry)
{
    return BytesAt(image, entry.Offset * Sector, entry.Size * Sector);
}

std::vector<ByteBuffer> RunReadBytes(const ByteBuffer& image)
{
    const std::vector<TEntry> entries = ParseDirectory(image);
    std::vector<ByteBuffer> read;
    for (const TEntry& entry : entries)
        read.push_back(OwnBytes(image, entry));
    for (const std::vector<std::size_t>& run : LinkedRuns(entries)) {
        std::uint64_t total = 0;
        for (const std::size_t i : run)
            total += entries[i].Size * Sector;
        const ByteBuffer block = BytesAt(image, entries[run.front()].Offset * Sector, total);
        std::uint64_t at = 0;
        for (const std::size_t i : run) {
            read[i] = ByteBuffer(block.begin() + std::ptrdiff_t(at), block.begin() + std::ptrdiff_t(at + entries[i].Size * Sector));
            at += entries[i].Size * Sector;
        }
    }
    return read;
}

std::vector<std::string> MisreadEntries(const ByteBuffer& image)
{
    const std::vector<TEntry> entries = ParseDirectory(image);
    std::vector<std::string> misread;
    for (const std::vector<std::size_t>& run : LinkedRuns(entries)) {
        std::uint64_t readFrom = entries[run.front()].Offset;
        for (const std::size_t i : run) {
            if (readFrom != entries[i].Offset)
                misread.push_back(entries[i].Name);
            readFrom += entries[i].Size;
        }
    }
    return misread;
}

} // namespace ChainedReadOracle
