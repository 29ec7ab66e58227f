// Decoding a texture dictionary of sixteen 1024 × 1024 DXT5 textures, the
// size of a detailed vehicle's, as the preview does (target: under 100 ms for all).

#include "BenchSupport.h"

#include "renderware/TextureDictionary.h"

#include <string>

using namespace vehmira;
using namespace vehmira::fileio;
using namespace vehmira::renderware;

namespace {

constexpr std::uint32_t Side = 1024;
constexpr int TextureCount = 16;

// Byte by byte: GCC at -O2 misreads a small range insert into an empty buffer as an overflow.
void Put32(ByteBuffer& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(std::uint8_t(value >> shift));
}

ByteBuffer Chunk(std::uint32_t type, const ByteBuffer& payload)
{
    ByteBuffer chunk;
    Put32(chunk, type);
    Put32(chunk, std::uint32_t(payload.size()));
    Put32(chunk, 0x1803FFFF);
    AppendBytes(chunk, payload);
    return chunk;
}

// Texture Native Struct of a Direct3D 9 DXT5 texture with varied blocks.
ByteBuffer Dxt5Texture(int index)
{
    ByteBuffer data;
    Put32(data, 9);
    Put32(data, 0x1106);
    std::string name = "texture" + std::to_string(index);
    name.resize(32, '\0');
    data.insert(data.end(), name.begin(), name.end());
    data.insert(data.end(), 32, 0);
    Put32(data, 0x0300);
    Put32(data, 0x35545844);  // "DXT5"
    Put32(data, Side | Side << 16);
    for (const std::uint8_t value : {16, 1, 4, 9})
        data.push_back(value);
    const std::uint32_t levelSize = Side * Side;  // 16 bytes per 4 × 4 block
    Put32(data, levelSize);
    std::uint32_t state = 2463534242u + std::uint32_t(index);
    for (std::uint32_t i = 0; i < levelSize / 4; ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        Put32(data, state);
    }
    ByteBuffer native = Chunk(0x01, data);
    AppendBytes(native, Chunk(0x03, {}));
    return Chunk(0x15, native);
}

ByteBuffer Dictionary()
{
    ByteBuffer children = Chunk(0x01, ByteBuffer{TextureCount, 0, 2, 0});
    for (int i = 0; i < TextureCount; ++i)
        AppendBytes(children, Dxt5Texture(i));
    AppendBytes(children, Chunk(0x03, {}));
    return Chunk(0x16, children);
}

void DecodeSixteenDxt5Textures(benchmark::State& state)
{
    const ByteBuffer bytes = Dictionary();
    for (auto _ : state) {
        const renderware::TTextureDictionary dictionary =
            renderware::TTextureDictionary::FromBytes(std::span<const std::uint8_t>(bytes));
        for (std::size_t i = 0; i < dictionary.Textures().size(); ++i)
            benchmark::DoNotOptimize(dictionary.DecodeTexture(i).Pixels.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * TextureCount * Side * Side * 4);
}
BENCHMARK(DecodeSixteenDxt5Textures)->Unit(benchmark::kMillisecond)->UseRealTime();

// The decoding alone, the dictionary read once.
void DecodeOnly(benchmark::State& state)
{
    const renderware::TTextureDictionary dictionary = renderware::TTextureDictionary::FromBytes(Dictionary());
    for (auto _ : state)
        for (std::size_t i = 0; i < dictionary.Textures().size(); ++i)
            benchmark::DoNotOptimize(dictionary.DecodeTexture(i).Pixels.data());
}
BENCHMARK(DecodeOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksAndReportMemory(argc, argv, "16 MiB dictionary, 4 MiB per decoded texture");
}
