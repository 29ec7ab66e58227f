#include "package/CAR.h"
#include "fileio/Errors.h"

#include <gtest/gtest.h>

#include <optional>

using namespace vehmira::fileio;
using namespace vehmira::gamedata;
using namespace vehmira::package;

namespace {

ByteBuffer Package(const TCarHeader& header, const TCarLengths& lengths, std::size_t dataBytes)
{
    ByteBuffer bytes = CarHeaderBytes(header);
    AppendBytes(bytes, CarLengthsBytes(lengths));
    bytes.resize(bytes.size() + dataBytes, 0x5A);
    return bytes;
}

// The kind of error that reading the layout raises, or none when it succeeds.
std::optional<TErrorKind> LayoutFailure(const ByteBuffer& bytes)
{
    TMemoryStream stream(bytes);
    try {
        ReadCarLayout(stream);
        return std::nullopt;
    } catch (const TVehmiraError& error) {
        return error.Kind();
    }
}

TVehicleRecord Vehicle(std::int32_t id, std::string model, std::string handling)
{
    TVehicleRecord vehicle;
    vehicle.ID = id;
    vehicle.ModelName = std::move(model);
    vehicle.TxdName = vehicle.ModelName;
    vehicle.HandlingID = std::move(handling);
    return vehicle;
}

} // namespace

TEST(CarFormat, HeaderOfVehicle415WithModelTextureAndName)
{
    TCarHeader header;
    header.VehicleID = 415;
    header.HasDFF = header.HasTXD = header.HasGXT = 1;
    const ByteBuffer expected = {0x43, 0x41, 0x52, 0x02, 0x9F, 0x01, 0x00, 0x00, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00};
    EXPECT_EQ(CarHeaderBytes(header), expected);
}

TEST(CarFormat, LengthTableIsSevenLittleEndianCountsInDataOrder)
{
    const TCarLengths lengths{0x01020304, 2, 3, 4, 5, 6, 0x7F000000};
    const ByteBuffer bytes = CarLengthsBytes(lengths);
    ASSERT_EQ(bytes.size(), CarLengthsSize);
    EXPECT_EQ((ByteBuffer{bytes.begin(), bytes.begin() + 4}), (ByteBuffer{4, 3, 2, 1}));
    EXPECT_EQ(bytes[20], 6);
    EXPECT_EQ((ByteBuffer{bytes.begin() + 24, bytes.end()}), (ByteBuffer{0, 0, 0, 0x7F}));
}

TEST(CarFormat, FlaggedPiecesFollowOneAnotherFromOffset42)
{
    TCarHeader header;
    header.HasDFF = header.HasHandling = header.HasCarcols = 1;
    // The TXD length is not flagged: it takes no room and its bytes are not skipped.
    const TCarLengths lengths{2048, 999, 0, 10, 0, 0, 7};
    TMemoryStream stream(Package(header, lengths, 2048 + 10 + 7));
    const TCarLayout layout = ReadCarLayout(stream);
    EXPECT_TRUE(layout.DFF.Present);
    EXPECT_EQ(layout.DFF.Offset, 42u);
    EXPECT_FALSE(layout.TXD.Present);
    EXPECT_FALSE(layout.GXT.Present);
    EXPECT_EQ(layout.Handling.Offset, 42u + 2048);
    EXPECT_EQ(layout.Handling.Length, 10u);
    EXPECT_TRUE(layout.HandlingSpecial.Present);
    EXPECT_EQ(layout.HandlingSpecial.Length, 0u);
    EXPECT_EQ(layout.Carcols.Offset, 42u + 2048 + 10);
    EXPECT_EQ(ReadCarTextPiece(stream, layout.Carcols), std::string(7, 'Z'));
}

TEST(CarFormat, MalformedPackagesAreRefusedWithTheRightMessage)
{
    TCarHeader good;
    good.HasGXT = 1;
    const ByteBuffer valid = Package(good, {0, 0, 5, 0, 0, 0, 0}, 5);
    const auto withByte = [&valid](std::size_t at, std::uint8_t value) {
        ByteBuffer bytes = valid;
        bytes[at] = value;
        return bytes;
    };
    const auto cut = [&valid](std::size_t size) { return ByteBuffer(valid.begin(), valid.begin() + std::ptrdiff_t(size)); };
    ByteBuffer negative = valid;
    StoreU32LE(std::span(negative).subspan(22).first<4>(), 0xFFFFFFFF);

    const struct {
        const char* name;
        ByteBuffer bytes;
        std::optional<TErrorKind> message;
    } cases[] = {
        {"valid", valid, std::nullopt},
        {"empty file", {}, TErrorKind::Failure},
        {"13 bytes", cut(13), TErrorKind::Failure},
        {"lower-case magic", withByte(0, 'c'), TErrorKind::NotCarPackage},
        {"wrong third byte", withByte(2, 'S'), TErrorKind::NotCarPackage},
        {"bad magic in a short file", ByteBuffer{'X', 'Y', 'Z', 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, TErrorKind::NotCarPackage},
        {"version 1", withByte(3, 1), TErrorKind::UnsupportedCarVersion},
        {"version 3", withByte(3, 3), TErrorKind::UnsupportedCarVersion},
        {"ends inside the length table", cut(30), TErrorKind::Failure},
        {"negative length", negative, TErrorKind::Failure},
        {"piece past the end", cut(valid.size() - 1), TErrorKind::Failure},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LayoutFailure(c.bytes), c.message) << c.name;
}

TEST(CarFormat, HugeLengthsDoNotWrapAroundTheBoundsCheck)
{
    TCarHeader header;
    header.HasDFF = header.HasTXD = 1;
    const ByteBuffer bytes = Package(header, {0x7FFFFFFF, 0x7FFFFFFF, 0, 0, 0, 0, 0}, 16);
    EXPECT_EQ(LayoutFailure(bytes), TErrorKind::Failure);
}

TEST(KeyRule, LinesBelongToTheirVehicleByTheirKeyField)
{
    const TVehicleRecord police = Vehicle(596, "copcarla", "POLICE_LA");
    const struct {
        TKeyedLineKind kind;
        TLineList fields;
        bool belongs;
    } cases[] = {
        {TKeyedLineKind::MainHandling, {"police_la", "1600.0"}, true},
        {TKeyedLineKind::MainHandling, {"POLICE_LA"}, true},
        {TKeyedLineKind::MainHandling, {"POLICE_LAX", "1"}, false},
        {TKeyedLineKind::MainHandling, {"!", "POLICE_LA"}, false},
        {TKeyedLineKind::SpecialHandling, {"!", "Police_La", "0.5"}, true},
        {TKeyedLineKind::SpecialHandling, {"POLICE_LA"}, false}, // too few fields: no match, no failure
        {TKeyedLineKind::SpecialHandling, {""}, false},
        {TKeyedLineKind::Vehicles, {"596", "copcarla"}, true},
        {TKeyedLineKind::Vehicles, {"0596", "copcarla"}, false},
        {TKeyedLineKind::Vehicles, {"+596"}, false},
        {TKeyedLineKind::Carcols, {"COPCARLA", "0", "1"}, true},
        {TKeyedLineKind::Carcols, {"POLICE_LA", "0", "1"}, false}, // colours are keyed by model name
        {TKeyedLineKind::Carcols, {"copcarl\xE1", "0"}, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LineBelongsToVehicle(c.kind, c.fields, police), c.belongs)
            << int(c.kind) << " " << c.fields[0];
}

TEST(KeyRule, OnlyAsciiLettersFoldCase)
{
    const TVehicleRecord vehicle = Vehicle(1, "\xE0uto", "\xE0UTO");
    EXPECT_FALSE(LineBelongsToVehicle(TKeyedLineKind::MainHandling, {"\xC0UTO", "1"}, vehicle));
    EXPECT_TRUE(LineBelongsToVehicle(TKeyedLineKind::Carcols, {"\xE0UTO", "1"}, vehicle));
}
