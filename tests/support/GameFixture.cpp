#include "support/GameFixture.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <stdexcept>

using namespace vehmira::fileio;

namespace GameFixture {
namespace {

constexpr std::uint32_t Sector = 2048;
constexpr std::uint32_t RwLibraryVersion = 0x1803FFFF;

std::string CrLf(std::initializer_list<std::string_view> lines)
{
    std::string text;
    for (const std::string_view line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

// The CRC-32 register before its final inversion, computed bit by bit so the
// fixture does not lean on the table-driven routine under test.
std::uint32_t KeyHash(std::string_view key)
{
    std::uint32_t crc = 0xFFFFFFFF;
    for (const char c : key) {
        crc ^= std::uint8_t(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
    }
    return crc;
}

// Byte by byte: MinGW's -O2 misreads small vector inserts as overflows.
void AppendText(ByteBuffer& out, std::string_view text)
{
    for (const char c : text)
        out.push_back(std::uint8_t(c));
}

void AppendU32(ByteBuffer& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(std::uint8_t(value >> shift));
}

void AppendAll(ByteBuffer& out, const ByteBuffer& bytes)
{
    for (const std::uint8_t b : bytes)
        out.push_back(b);
}

void AppendName8(ByteBuffer& out, std::string_view name)
{
    for (std::size_t i = 0; i < 8; ++i)
        out.push_back(i < name.size() ? std::uint8_t(name[i]) : 0);
}

// Key magic, key block, "TDAT", text block: the part of a table block after its name.
ByteBuffer TableBody(std::vector<TFixtureGXTText> texts, bool keysInGivenOrder)
{
    if (!keysInGivenOrder)
        std::stable_sort(texts.begin(), texts.end(), [](const TFixtureGXTText& a, const TFixtureGXTText& b) {
            return KeyHash(a.Key) < KeyHash(b.Key);
        });
    ByteBuffer textData;
    ByteBuffer body;
    AppendText(body, "TKEY");
    AppendU32(body, std::uint32_t(8 * texts.size()));
    for (const TFixtureGXTText& entry : texts) {
        AppendU32(body, std::uint32_t(textData.size()));
        AppendU32(body, KeyHash(entry.Key));
        AppendText(textData, entry.Text);
        textData.push_back(0);
    }
    AppendText(body, "TDAT");
    AppendU32(body, std::uint32_t(textData.size()));
    AppendAll(body, textData);
    return body;
}

std::uint32_t SectorsFor(std::size_t length) { return std::uint32_t((length + Sector - 1) / Sector); }

std::uint32_t ReadU32(const ByteBuffer& bytes, std::size_t position)
{
    if (position + 4 > bytes.size())
        throw std::runtime_error("fixture: read past the end of an image");
    return LoadU32LE(std::span(bytes).subspan(position).first<4>());
}

struct TParsedEntry {
    std::uint32_t Offset;
    std::uint32_t Size;
    std::string Name;
};

std::vector<TParsedEntry> ParseDirectory(const ByteBuffer& archive)
{
    std::vector<TParsedEntry> entries;
    const std::uint32_t count = ReadU32(archive, 4);
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::size_t at = 8 + 32 * std::size_t(i);
        if (at + 32 > archive.size())
            throw std::runtime_error("fixture: directory runs past the end");
        std::string name(reinterpret_cast<const char*>(archive.data() + at + 8), 24);
        name.resize(std::min(name.find('\0'), name.size()));
        entries.push_back({ReadU32(archive, at), ReadU32(archive, at + 4), name});
    }
    return entries;
}

std::string Upper(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z')
            c = char(c - 32);
    return result;
}

void WriteFile(const std::filesystem::path& path, const ByteBuffer& bytes)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    if (!out)
        throw std::runtime_error("fixture: cannot write " + path.string());
}

} // namespace

TGameFixtureContent DefaultContent()
{
    TGameFixtureContent content;
    content.VehiclesIde = CrLf({
        "# Vehicle definitions of the fixture game",
        "",
        "objs",
        "1000, wheel_rim, generic, 10, 0",
        "end",
        "cars",
        "400, landstal, landstal, car, LANDSTAL, LANDSTK, null, richfamily, 10, 0, 0, -1, 0.768, 0.768, 0",
        "415, cheetah, cheetah, car, CHEETAH, CHEETAH, null, executive, 10, 0, 0, -1, 0.7, 0.7, 1 # fast",
        "523,\tcopbike,\tcopbike,\tbike,\tCOPBIKE,\tCOPBIKE,\tbiked,\tignore,\t10,\t0,\t0,\t23,\t0.58,\t0.58,\t0",
        "596, copcarla, copcarla, car, POLICE_LA, POLICAR, null, executive, 10, 0, 0, -1, 0.7, 0.7, 0",
        "end",
    });
    content.Handling = CrLf({
        "; Handling of the fixture game",
        "; A  mass  turnmass  drag  ...",
        "",
        "LANDSTAL 1700.0 5008.3 2.5 0.0 0.0 -0.3 85 0.75 0.85 0.5 5 160.0 25.0 4 D",
        "CHEETAH\t1200.0\t3000.0\t2.0\t0.0\t-0.2\t-0.2\t70\t1.1\t0.8\t0.5\t5\t230.0\t30.0\tR\tP # tuned",
        "COPBIKE 500.0 161.0 4.0 0.0 0.05 -0.1 103 1.6 0.9 0.48 5 190.0 50.0 R P",
        "POLICE_LA 1600.0 4500.0 2.0 0.0 0.3 -0.1 75 0.75 0.85 0.52 5 200.0 25.0 R P",
        "",
        "; bike lines: the handling ID is field 1",
        "! COPBIKE 0.05 0.7 0.2 35.0 38.0 -0.2 0.3 0.5",
        "#end of file",
    });
    content.Carcols = CrLf({
        "# Colours of the fixture game",
        "col",
        "0,0,0\t\t# black",
        "245,245,245\t# white",
        "end",
        "",
        "car",
        "landstal, 4,1, 123,1, 113,1",
        "cheetah, 20,1, 25,1, 36,1",
        "copbike, 0,1",
        "copcarla, 0,1",
        "end",
    });
    content.ArchiveEntries = {
        {"landstal.dff", RenderWareBytes(RwClumpChunk, 3000, 1)},
        {"landstal.txd", RenderWareBytes(RwTextureDictionaryChunk, 2048, 2)},
        {"cheetah.dff", RenderWareBytes(RwUVAnimDictionaryChunk, 5000, 3)},
        {"cheetah.txd", RenderWareBytes(RwTextureDictionaryChunk, 4100, 4)},
        {"copbike.dff", RenderWareBytes(RwClumpChunk, 1500, 5)},
        {"copbike.txd", RenderWareBytes(RwTextureDictionaryChunk, 900, 6)},
        {"copcarla.dff", RenderWareBytes(RwClumpChunk, 2500, 7)},
        {"copcarla.txd", RenderWareBytes(RwTextureDictionaryChunk, 1200, 8)},
    };
    content.MainTable = {
        {"LANDSTK", "Landstalker"}, {"CHEETAH", "Cheetah"}, {"COPBIKE", "HPV1000"},
        {"POLICAR", "Police"},      {"DUMMY", "\xC4\xE5\xEC\xEE"},
    };
    content.MissionTable = {{"M1_01", "Go to the car."}, {"CHEETAH", "Mission cheetah"}};
    return content;
}

ByteBuffer RenderWareBytes(std::uint32_t chunkType, std::size_t length, std::uint8_t seed)
{
    ByteBuffer bytes;
    AppendU32(bytes, chunkType);
    AppendU32(bytes, std::uint32_t(length > 12 ? length - 12 : 0));
    AppendU32(bytes, RwLibraryVersion);
    for (std::size_t i = bytes.size(); i < length; ++i)
        bytes.push_back(std::uint8_t(seed + i * 7));
    bytes.resize(length);
    return bytes;
}

ByteBuffer SectorPadded(const ByteBuffer& data)
{
    ByteBuffer padded = data;
    padded.resize(std::size_t(SectorsFor(data.size())) * Sector, 0);
    return padded;
}

ByteBuffer BuildArchive(const std::vector<TFixtureArchiveEntry>& entries, std::uint32_t firstDataSector)
{
    if (8 + 32 * entries.size() > std::size_t(firstDataSector) * Sector)
        throw std::runtime_error("fixture: the directory does not fit before the first data sector");
    ByteBuffer archive;
    AppendText(archive, "VER2");
    AppendU32(archive, std::uint32_t(entries.size()));
    std::uint32_t nextSector = firstDataSector;
    for (const TFixtureArchiveEntry& entry : entries) {
        AppendU32(archive, nextSector);
        AppendU32(archive, SectorsFor(entry.Data.size()));
        for (std::size_t i = 0; i < 24; ++i)
            archive.push_back(i < entry.Name.size() ? std::uint8_t(entry.Name[i]) : 0);
        nextSector += SectorsFor(entry.Data.size());
    }
    archive.resize(std::size_t(firstDataSector) * Sector, 0);
    for (const TFixtureArchiveEntry& entry : entries)
        AppendAll(archive, SectorPadded(entry.Data));
    return archive;
}

ByteBuffer BuildGXT(const std::vector<TFixtureGXTText>& mainTable, const std::vector<TFixtureGXTText>& missionTable,
                    bool keysInGivenOrder)
{
    const std::size_t tableCount = missionTable.empty() ? 1 : 2;
    const ByteBuffer mainBody = TableBody(mainTable, keysInGivenOrder);
    ByteBuffer gxt = {4, 0, 8, 0};
    AppendText(gxt, "TABL");
    AppendU32(gxt, std::uint32_t(12 * tableCount));
    const std::uint32_t mainPosition = std::uint32_t(12 + 12 * tableCount);
    AppendName8(gxt, "MAIN");
    AppendU32(gxt, mainPosition);
    if (tableCount == 2) {
        AppendName8(gxt, "MISSION1");
        AppendU32(gxt, std::uint32_t(mainPosition + mainBody.size()));
    }
    AppendAll(gxt, mainBody);
    if (tableCount == 2) {
        AppendName8(gxt, "MISSION1");
        AppendAll(gxt, TableBody(missionTable, true));
    }
    return gxt;
}

void WriteGameDirectory(const std::filesystem::path& root, const TGameFixtureContent& content)
{
    WriteFile(root / "Models" / "GTA3.img", BuildArchive(content.ArchiveEntries, content.FirstDataSector));
    WriteFile(root / "Data" / "Vehicles.ide", ToBytes(content.VehiclesIde));
    WriteFile(root / "Data" / "Handling.cfg", ToBytes(content.Handling));
    WriteFile(root / "Data" / "Carcols.dat", ToBytes(content.Carcols));
    WriteFile(root / "Text" / content.GXTFileName, BuildGXT(content.MainTable, content.MissionTable, content.KeysInGivenOrder));
}

std::map<std::string, ByteBuffer> Snapshot(const std::filesystem::path& root, bool includeJournal)
{
    std::map<std::string, ByteBuffer> files;
    for (auto it = std::filesystem::recursive_directory_iterator(root);
         it != std::filesystem::recursive_directory_iterator(); ++it) {
        const std::string relative = std::filesystem::relative(it->path(), root).generic_string();
        if (!includeJournal && relative.rfind("vehmira-backups", 0) == 0) {
            if (it->is_directory())
                it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file())
            continue;
        std::ifstream in(it->path(), std::ios::binary);
        files[relative] = ByteBuffer(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return files;
}

ByteBuffer ArchiveEntryBytes(const ByteBuffer& archive, std::string_view name)
{
    ByteBuffer found;
    for (const TParsedEntry& entry : ParseDirectory(archive)) {
        if (Upper(entry.Name) != Upper(name))
            continue;
        const std::size_t start = std::size_t(entry.Offset) * Sector;
        const std::size_t length = std::size_t(entry.Size) * Sector;
        if (start + length > archive.size())
            throw std::runtime_error("fixture: entry " + entry.Name + " runs past the end");
        found.assign(archive.begin() + std::ptrdiff_t(start), archive.begin() + std::ptrdiff_t(start + length));
    }
    return found;
}

std::vector<std::string> ArchiveEntryNames(const ByteBuffer& archive)
{
    std::vector<std::string> names;
    for (const TParsedEntry& entry : ParseDirectory(archive))
        names.push_back(entry.Name);
    return names;
}

std::string GXTMainText(const ByteBuffer& gxt, std::string_view key)
{
    // Main table: directory entry 0 points at its key magic.
    const std::uint32_t block = ReadU32(gxt, 20);
    const std::uint32_t keyBlockSize = ReadU32(gxt, block + 4);
    const std::size_t textBase = std::size_t(block) + 8 + keyBlockSize + 8;
    const std::uint32_t wanted = KeyHash(key);
    for (std::uint32_t k = 0; k < keyBlockSize / 8; ++k) {
        const std::size_t entry = std::size_t(block) + 8 + 8 * std::size_t(k);
        if (ReadU32(gxt, entry + 4) != wanted)
            continue;
        std::size_t position = textBase + ReadU32(gxt, entry);
        std::string text;
        while (position < gxt.size() && gxt[position] != 0)
            text += char(gxt[position++]);
        return text;
    }
    return "<none>";
}

std::uint32_t FixtureKeyHash(std::string_view key) { return KeyHash(key); }

std::string ToText(const ByteBuffer& bytes) { return std::string(bytes.begin(), bytes.end()); }

ByteBuffer ToBytes(std::string_view text) { return ByteBuffer(text.begin(), text.end()); }

} // namespace GameFixture
