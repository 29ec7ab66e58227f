// The check of a journal's saved bytes. Input: a small binary manifest (head
// length and CRC, then up to three files, each present flag, length and CRC),
// then the saved bytes. What passes is exactly what the manifest promised.
#include "fileio/Errors.h"
#include "FuzzSupport.h"
#include "gamedata/CRC32.h"
#include "engine/JournalRestore.h"

#include <string>

using namespace vehmira::engine;
using namespace vehmira::fileio;
using namespace vehmira::gamedata;

namespace {

// Reads the manifest's numbers from the front of the input.
class TInput {
public:
    TInput(const std::uint8_t* data, std::size_t size) : Data(data), Size(size) {}
    std::uint32_t Take(std::size_t bytes)
    {
        std::uint32_t value = 0;
        for (std::size_t i = 0; i < bytes && At < Size; ++i)
            value |= std::uint32_t(Data[At++]) << (8 * i);
        return value;
    }
    std::span<const std::uint8_t> Rest() const { return {Data + At, Size - At}; }

private:
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t At = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TInput input(data, size);
    TJournalManifest manifest;
    manifest.HeadLength = input.Take(2);
    manifest.HeadCRC = input.Take(4);
    const std::uint32_t fileCount = input.Take(1) % 4;
    for (std::uint32_t i = 0; i < fileCount; ++i) {
        TJournaledFile file;
        file.RelativePath = "Data/File" + std::to_string(i) + ".dat";
        file.Before.Present = (input.Take(1) & 1) != 0;
        file.Before.Length = input.Take(2);
        file.Before.CRC = input.Take(4);
        manifest.Files.push_back(file);
    }
    const std::span<const std::uint8_t> savedBytes = input.Rest();
    Require(CRC32Buffer(savedBytes) == ~CRC32UpdateBySlicing(savedBytes, 0xFFFFFFFFu),
            "both CRC-32 paths agree");

    TMemoryStream saved(ByteBuffer(savedBytes.begin(), savedBytes.end()));
    TSavedCopies copies;
    try {
        copies = ReadSavedCopies(saved, manifest, "\"fuzz\"");
    } catch (const TVehmiraError&) {
        return 0;
    }
    Require(copies.Head.size() == manifest.HeadLength && CRC32Buffer(copies.Head) == manifest.HeadCRC,
            "the head is the saved one");
    Require(copies.Files.size() == manifest.Files.size(), "one copy slot per file");
    std::uint64_t used = copies.Head.size();
    for (std::size_t i = 0; i < manifest.Files.size(); ++i) {
        const TFileFingerprint& before = manifest.Files[i].Before;
        Require(copies.Files[i].has_value() == before.Present, "a copy exactly for each file that existed");
        if (!copies.Files[i])
            continue;
        Require(copies.Files[i]->size() == before.Length && CRC32Buffer(*copies.Files[i]) == before.CRC,
                "every copy is the saved one");
        used += before.Length;
    }
    Require(used <= savedBytes.size(), "the copies lie inside the saved bytes");
    return 0;
}
