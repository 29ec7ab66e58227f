// The archive a recovery would leave. Input: a journal manifest, optionally
// followed by a line "--archive--" and the archive as it is now (else a fixed
// one: two entries, the last in a short last sector, then an entry an import
// appended). The saved head and ranges are the bytes the archive held before
// the import. Whatever length the manifest gives, a restore the check takes
// leaves an archive whose directory fits and whose every entry ends inside the
// file's length rounded up to a whole sector, as the archive reader (and the
// game) take it; and it never makes the archive longer.
#include "archive/DIR.h"
#include "fileio/ByteOrder.h"
#include "fileio/Errors.h"
#include "FuzzSupport.h"
#include "engine/JournalCheck.h"
#include "engine/JournalManifest.h"

#include <algorithm>
#include <string_view>

using namespace vehmira::engine;
using namespace vehmira::fileio;

namespace {

constexpr std::uint64_t Sector = 2048;
constexpr std::string_view ArchiveMarker = "\n--archive--\n";

void PutU32(ByteBuffer& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + std::size_t(i)] = std::uint8_t(value >> (8 * i));
}

// A directory of count entries, entry i at sector 1 + i, one sector long.
ByteBuffer ArchiveOf(std::uint32_t count, std::uint64_t length)
{
    ByteBuffer bytes(std::size_t(length), 0x5A);
    bytes[0] = 'V', bytes[1] = 'E', bytes[2] = 'R', bytes[3] = '2';
    PutU32(bytes, 4, count);
    for (std::uint32_t i = 0; i < count; ++i) {
        PutU32(bytes, 8 + 32 * i, 1 + i);
        PutU32(bytes, 12 + 32 * i, 1);
        std::fill_n(bytes.begin() + 16 + 32 * i, 24, std::uint8_t(0));
        bytes[16 + 32 * i] = std::uint8_t('a' + i);
    }
    return bytes;
}

std::uint64_t U32At(const ByteBuffer& bytes, std::uint64_t at)
{
    return LoadU32LE(std::span(bytes).subspan(std::size_t(at)).first<4>());
}

// The game's reading of the restored file: the directory must fit, and every
// entry must end inside the length rounded up to whole sectors.
bool ReaderTakes(const ByteBuffer& image)
{
    if (image.size() < 8)
        return false;
    const std::uint64_t count = U32At(image, 4);
    if (8 + count * 32 > image.size())
        return false;
    const std::uint64_t rounded = (image.size() + Sector - 1) / Sector * Sector;
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::uint64_t offset = U32At(image, 8 + 32 * i);
        const std::uint64_t size = U32At(image, 12 + 32 * i);
        if ((offset + size) * Sector > rounded)
            return false;
    }
    return true;
}

ByteBuffer Slice(const ByteBuffer& bytes, std::uint64_t offset, std::uint64_t length)
{
    const std::uint64_t begin = std::min<std::uint64_t>(offset, bytes.size());
    const std::uint64_t end = std::min<std::uint64_t>(begin + std::min<std::uint64_t>(length, bytes.size()), bytes.size());
    return ByteBuffer(bytes.begin() + std::ptrdiff_t(begin), bytes.begin() + std::ptrdiff_t(end));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input = AsText(data, size);
    const std::size_t marker = input.find(ArchiveMarker);
    TJournalManifest manifest;
    try {
        manifest = ManifestFromText(input.substr(0, marker));
    } catch (const TVehmiraError&) {
        return 0;
    }
    // Before the import: two entries, the second ending 952 bytes into its sector.
    ByteBuffer before = ArchiveOf(2, 3 * Sector);
    before.resize(2 * Sector + 952);
    ByteBuffer now = ArchiveOf(3, 4 * Sector);
    if (marker != std::string_view::npos) {
        const std::string_view image = input.substr(marker + ArchiveMarker.size());
        now.assign(image.begin(), image.end());
        before = now;
    }
    if (manifest.HeadLength > before.size() || manifest.Ranges.size() > 8)
        return 0;
    TSavedCopies saved;
    saved.Head = Slice(before, 0, manifest.HeadLength);
    for (const TArchiveRange& range : manifest.Ranges)
        saved.Ranges.push_back(Slice(before, range.Offset, range.Length));

    TMemoryStream archive(now);
    try {
        CheckRestoredArchive("fuzz", manifest, saved, archive);
    } catch (const TVehmiraError& error) {
        Require(error.Kind() == TErrorKind::DamagedJournal, "a refused journal is told as damaged");
        return 0;
    }
    Require(archive.Bytes() == now, "the check changes nothing");
    if (manifest.ArchiveReplaced)
        return 0;
    Require(manifest.ArchiveLength <= now.size(), "the restore never makes the archive longer");
    ByteBuffer restored = now;
    std::copy(saved.Head.begin(), saved.Head.end(), restored.begin());
    for (std::size_t j = 0; j < saved.Ranges.size(); ++j)
        std::copy(saved.Ranges[j].begin(), saved.Ranges[j].end(),
                  restored.begin() + std::ptrdiff_t(std::min<std::uint64_t>(manifest.Ranges[j].Offset, now.size())));
    restored.resize(std::size_t(manifest.ArchiveLength));
    Require(ReaderTakes(restored), "the restored archive is one the reader takes");
    return 0;
}
