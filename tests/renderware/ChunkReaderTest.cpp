#include "renderware/ChunkReader.h"

#include "fileio/Errors.h"
#include "support/RwStreamBuilder.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace vehmira;
using namespace vehmira::fileio;
using namespace vehmira::renderware;

using namespace RwTest;

namespace {

TEST(LibraryVersion, StampsDecodeToVersions)
{
    struct TCase {
        std::uint32_t Stamp;
        std::string Text;
        std::uint32_t Build;
        bool PackedForm;
        bool PcGameReads;
    };
    const std::vector<TCase> cases{
        {0x1803FFFF, "3.6.0.3", 0xFFFF, true, true},    // the PC game's own
        {0x1003FFFF, "3.4.0.3", 0xFFFF, true, true},
        {0x10000000, "3.4.0.0", 0x0000, true, true},    // the library's base version
        {0x0C02FFFF, "3.3.0.2", 0xFFFF, true, false},
        {0x0800FFFF, "3.2.0.0", 0xFFFF, true, false},
        {0x00000310, "3.1.0.0", 0, false, false},       // the old form, no build
        {0x00000302, "3.0.2.0", 0, false, false},
        {0x1C020065, "3.7.0.2", 0x0065, true, false},
        {0x1805FFFF, "3.6.0.5", 0xFFFF, true, false},
    };
    for (const TCase& test : cases) {
        const renderware::TLibraryVersion version = renderware::DecodeLibraryStamp(test.Stamp);
        EXPECT_EQ(version.Text(), test.Text) << std::hex << test.Stamp;
        EXPECT_EQ(version.Build, test.Build) << std::hex << test.Stamp;
        EXPECT_EQ(version.PackedForm, test.PackedForm) << std::hex << test.Stamp;
        EXPECT_EQ(renderware::PcGameReadsVersion(version), test.PcGameReads) << std::hex << test.Stamp;
        EXPECT_EQ(renderware::EncodeLibraryStamp(version.Version, version.Build), test.Stamp) << std::hex << test.Stamp;
    }
}

TEST(ChunkReader, WalksChildrenWithTheirOffsets)
{
    const ByteBuffer stream = Container(0x10, {Chunk(0x01, {1, 2, 3, 4}), Container(0x03, {Chunk(0x253F2FE, {'a'})})});
    const renderware::TChunk root = renderware::ReadRootChunk(stream, 0x10, "model");
    EXPECT_EQ(root.Version().Text(), "3.6.0.3");
    renderware::TChunkReader children(root, "model");
    const renderware::TChunk first = children.Expect(renderware::StructChunk, "a Struct");
    EXPECT_EQ(first.Offset, 12u);
    EXPECT_EQ(first.Payload.size(), 4u);
    const renderware::TChunk extension = children.Next();
    EXPECT_EQ(extension.Offset, 28u);
    EXPECT_EQ(extension.Depth, 1u);
    EXPECT_TRUE(children.AtEnd());
    renderware::TChunkReader plugins(extension, "model");
    const renderware::TChunk name = plugins.Next();
    EXPECT_EQ(name.Offset, 40u);
    EXPECT_EQ(name.Payload[0], 'a');
}

TEST(ChunkReader, RootChunkIgnoresPaddingAfterIt)
{
    ByteBuffer stream = Chunk(0x16, {0, 0, 0, 0});
    stream.resize(2048, 0);
    EXPECT_EQ(renderware::ReadRootChunk(stream, 0x16, "dictionary").Payload.size(), 4u);
}

void ExpectFailure(const std::function<void()>& action, const std::string& expected, const std::string& what)
{
    try {
        action();
        ADD_FAILURE() << what << ": no error";
    } catch (const TVehmiraError& error) {
        EXPECT_NE(std::string(error.what()).find(expected), std::string::npos) << what << ": " << error.what();
    }
}

TEST(ChunkReader, DamagedTreesAreRefused)
{
    ByteBuffer childTooBig = Container(0x10, {Chunk(0x01, {1, 2, 3, 4})});
    SetU32(childTooBig, 16, 5);
    ByteBuffer rootTooBig = Chunk(0x10, {1, 2});
    SetU32(rootTooBig, 4, 0xFFFFFFF0);
    ExpectFailure([&] { renderware::ReadRootChunk(rootTooBig, 0x10, "model"); },
                  "model: chunk 0x10 at offset 0 runs past the end", "root too big");
    ExpectFailure(
        [&] {
            renderware::TChunkReader children(renderware::ReadRootChunk(childTooBig, 0x10, "model"), "model");
            children.Next();
        },
        "chunk 0x1 at offset 12 runs past its parent", "child too big");
    ExpectFailure([&] { renderware::ReadRootChunk(Chunk(0x16, {}), 0x10, "model"); },
                  "root chunk has type 0x16, not 0x10", "wrong root");
    ExpectFailure([&] { renderware::ReadRootChunk(ByteBuffer(11), 0x10, "model"); }, "shorter than a chunk header",
                  "eleven bytes");
    const ByteBuffer cutHeader = Chunk(0x10, {1, 0, 0, 0, 0, 0});
    ExpectFailure(
        [&] {
            renderware::TChunkReader children(renderware::ReadRootChunk(cutHeader, 0x10, "model"), "model");
            children.Next();
        },
        "chunk header at offset 12 is cut off", "cut header");
    const ByteBuffer noStruct = Container(0x10, {Chunk(0x03, {})});
    ExpectFailure(
        [&] {
            renderware::TChunkReader children(renderware::ReadRootChunk(noStruct, 0x10, "model"), "model");
            children.Expect(renderware::StructChunk, "the clump's Struct");
        },
        "expected the clump's Struct chunk, found chunk 0x3 at offset 12", "wrong child");
}

TEST(ChunkReader, NestingIsLimited)
{
    ByteBuffer stream = Chunk(0x01, {});
    for (unsigned level = 0; level < renderware::MaxChunkDepth + 2; ++level)
        stream = Container(0x03, {stream});
    renderware::TChunk chunk = renderware::ReadRootChunk(stream, 0x03, "model");
    ExpectFailure(
        [&] {
            for (;;) {
                renderware::TChunkReader children(chunk, "model");
                chunk = children.Next();
            }
        },
        "nested more than 16 levels deep", "deep nesting");
}

} // namespace
