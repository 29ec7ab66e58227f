// Throughput of the key hash and CRC-32, and GXT load and save of a 40,000-key
// file next to a plain copy of the same bytes (in memory and through files).

#include "fileio/FileSystem.h"
#include "gamedata/CRC32.h"
#include "gamedata/GXT.h"

#include "BenchSupport.h"

#include <chrono>
#include <cstring>
#include <string>

using namespace vehmira::fileio;
using namespace vehmira::gamedata;

namespace {

constexpr std::size_t GXTKeyCount = 40000;
constexpr std::size_t MissionTableCount = 4;
constexpr std::size_t MissionKeyCount = 500;

std::string SampleText(std::size_t index)
{
    // Display names and mission lines of mixed lengths, some with bytes above 0x7F.
    static const char* const pieces[] = {"Landstalker", "~r~Get back in the car!", "\xC2\xFB\xF5\xEE\xE4",
                                         "Pay 'n' Spray", "You need a better ride to enter the race."};
    return std::string(pieces[index % 5]) + " " + std::to_string(index);
}

TGXTTable SampleTable(std::string_view name, std::size_t keyCount, std::size_t seed)
{
    TGXTTable table;
    std::copy(name.begin(), name.end(), table.Name.begin());
    table.KeyMagic = {'T', 'K', 'E', 'Y'};
    for (std::size_t k = 0; k < keyCount; ++k) {
        table.Keys.push_back({0, GXTKeyHash("KEY" + std::to_string(seed + k))});
        table.Texts.push_back(SampleText(seed + k));
    }
    return table;
}

const ByteBuffer& SampleGXTBytes()
{
    static const ByteBuffer bytes = [] {
        TGXTFile file;
        file.Tables.push_back(SampleTable("", GXTKeyCount, 0));
        for (std::size_t t = 0; t < MissionTableCount; ++t)
            file.Tables.push_back(SampleTable("MISS" + std::to_string(t), MissionKeyCount, 100000 * (t + 1)));
        return file.SaveToBytes();
    }();
    return bytes;
}


const TBenchDirectory& BenchDirectory()
{
    static const TBenchDirectory directory("gamedata-bench");
    return directory;
}

std::filesystem::path SampleGXTFile()
{
    static const std::filesystem::path path = [] {
        const auto file = BenchDirectory().File("american.gxt");
        ReplaceFileAtomically(file, SampleGXTBytes());
        return file;
    }();
    return path;
}

void ReportBytes(benchmark::State& state, std::size_t bytesPerIteration)
{
    state.SetBytesProcessed(std::int64_t(state.iterations() * bytesPerIteration));
    state.counters["bytes_moved"] = double(bytesPerIteration);
}

void BM_GXTKeyHash(benchmark::State& state)
{
    const std::string key = std::string(std::size_t(state.range(0)), 'K');
    for (auto _ : state)
        benchmark::DoNotOptimize(GXTKeyHash(key));
    state.SetBytesProcessed(std::int64_t(state.iterations() * key.size()));
}
BENCHMARK(BM_GXTKeyHash)->Arg(7)->Arg(16)->Arg(64);

void BM_CRC32Buffer(benchmark::State& state)
{
    const ByteBuffer data(std::size_t(state.range(0)), 0x5A);
    for (auto _ : state)
        benchmark::DoNotOptimize(CRC32Buffer(data));
    ReportBytes(state, data.size());
}
BENCHMARK(BM_CRC32Buffer)->Arg(4096)->Arg(1 << 20);

// One table look-up per byte, for comparison with the sliced routine.
void BM_CRC32Bytewise(benchmark::State& state)
{
    const ByteBuffer data(std::size_t(state.range(0)), 0x5A);
    for (auto _ : state) {
        std::uint32_t crc = 0xFFFFFFFFu;
        for (const std::uint8_t byte : data)
            crc = CRC32Table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
        benchmark::DoNotOptimize(crc);
    }
    ReportBytes(state, data.size());
}
BENCHMARK(BM_CRC32Bytewise)->Arg(1 << 20);

void BM_GXTLoadBytes(benchmark::State& state)
{
    const ByteBuffer& bytes = SampleGXTBytes();
    for (auto _ : state) {
        TGXTFile file;
        file.LoadFromBytes(bytes);
        benchmark::DoNotOptimize(file.Tables.data());
    }
    ReportBytes(state, bytes.size());
}
BENCHMARK(BM_GXTLoadBytes);

void BM_GXTSaveBytes(benchmark::State& state)
{
    TGXTFile file;
    file.LoadFromBytes(SampleGXTBytes());
    for (auto _ : state)
        benchmark::DoNotOptimize(file.SaveToBytes());
    ReportBytes(state, SampleGXTBytes().size());
}
BENCHMARK(BM_GXTSaveBytes);

void BM_MemoryCopy(benchmark::State& state)
{
    const ByteBuffer& bytes = SampleGXTBytes();
    for (auto _ : state) {
        ByteBuffer copy(bytes.size());
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::DoNotOptimize(copy.data());
    }
    ReportBytes(state, bytes.size());
}
BENCHMARK(BM_MemoryCopy);

void BM_GXTLoadAndSaveFile(benchmark::State& state)
{
    const auto source = SampleGXTFile();
    const auto target = BenchDirectory().File("saved.gxt");
    for (auto _ : state) {
        TGXTFile file;
        file.LoadFromFile(source);
        file.SaveToFile(target);
    }
    ReportBytes(state, SampleGXTBytes().size());
}
BENCHMARK(BM_GXTLoadAndSaveFile)->Unit(benchmark::kMillisecond);

// The same bytes read and written through the same file layer, with nothing parsed.
void BM_PlainFileCopy(benchmark::State& state)
{
    const auto source = SampleGXTFile();
    const auto target = BenchDirectory().File("copied.gxt");
    for (auto _ : state)
        ReplaceFileAtomically(target, ReadWholeFile(source));
    ReportBytes(state, SampleGXTBytes().size());
}
BENCHMARK(BM_PlainFileCopy)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
