// The model archive on a 16,000-entry archive: Open, whose time must not depend
// on the size of the data (two archives with the same entries, one with 100
// times the data, both sparse), and AddStream of a 4 MiB entry, whose bytes
// written must be the entry, its fill and the directory, next to a plain copy of
// the same 4 MiB through the same file layer.

#include "archive/IMG.h"
#include "fileio/FileStream.h"

#include "BenchSupport.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

using namespace vehmira::archive;
using namespace vehmira::fileio;

namespace {

constexpr std::uint32_t EntryCount = 16000;
constexpr std::uint64_t AddedBytes = std::uint64_t(4) << 20;


const TBenchDirectory& BenchDirectory()
{
    static const TBenchDirectory directory("archive-bench");
    return directory;
}

std::uint64_t FirstDataSector() { return (8 + std::uint64_t(EntryCount) * 32 + 2047) / 2048; }

// Writes the directory of EntryCount entries of sectorsPerEntry sectors each and
// extends the file over their data without writing it (a sparse file).
std::filesystem::path SparseArchive(std::string_view name, std::uint32_t sectorsPerEntry)
{
    TDIRFile directory;
    std::uint64_t next = FirstDataSector();
    for (std::uint32_t i = 0; i < EntryCount; ++i) {
        directory.Entries.push_back({std::uint32_t(next), sectorsPerEntry, "model" + std::to_string(i) + ".dff"});
        next += sectorsPerEntry;
    }
    const auto path = BenchDirectory().File(name);
    TFileStream file(path, TFileAccess::CreateOrTruncate);
    file.Write(ByteBuffer{'T', 'E', 'S', 'T'});
    directory.SaveToStream(file);
    file.Truncate(next * 2048);
    return path;
}

void BM_OpenArchive(benchmark::State& state)
{
    const auto sectorsPerEntry = std::uint32_t(state.range(0));
    const auto path = SparseArchive("open" + std::to_string(sectorsPerEntry) + ".img", sectorsPerEntry);
    for (auto _ : state) {
        TIMGFile archive;
        archive.Open(path);
        benchmark::DoNotOptimize(archive.Directory.Entries.data());
    }
    state.counters["entries"] = EntryCount;
    state.counters["data_MiB"] = double(std::uint64_t(EntryCount) * sectorsPerEntry * 2048) / double(1 << 20);
    state.counters["dir_bytes"] = double(8 + std::uint64_t(EntryCount) * 32);
}
BENCHMARK(BM_OpenArchive)->ArgName("sectors_per_entry")->Arg(1)->Arg(100)->Unit(benchmark::kMillisecond);

void BM_AddStream4MiB(benchmark::State& state)
{
    TIMGFile archive;
    archive.Open(SparseArchive("add.img", 1));
    TMemoryStream source(ByteBuffer(AddedBytes, 0x5A));
    const std::uint64_t directoryBytes = 4 + (std::uint64_t(EntryCount) + 1) * 32;
    std::uint64_t written = 0;
    for (auto _ : state) {
        const std::uint64_t before = BytesWrittenByProcess();
        archive.AddStream(source, 0, AddedBytes, "added.dff");
        written += BytesWrittenByProcess() - before;
    }
    const double perAdd = double(written) / double(state.iterations());
    state.counters["bytes_written"] = perAdd;
    state.counters["entry_bytes"] = double(AddedBytes);
    state.counters["fill_bytes"] = double((2048 - AddedBytes % 2048) % 2048);
    state.counters["dir_bytes"] = double(directoryBytes);
    state.counters["extra_bytes"] = perAdd - double(AddedBytes + directoryBytes);
    state.SetBytesProcessed(std::int64_t(state.iterations() * AddedBytes));
}
BENCHMARK(BM_AddStream4MiB)->Iterations(24)->Unit(benchmark::kMillisecond);

// The same 4 MiB written through the same file layer and flushed once, as an add does.
void BM_PlainCopy4MiB(benchmark::State& state)
{
    TFileStream target(BenchDirectory().File("copy.bin"), TFileAccess::CreateOrTruncate);
    TMemoryStream source(ByteBuffer(AddedBytes, 0x5A));
    ByteBuffer chunk(1 << 20);
    std::uint64_t written = 0;
    for (auto _ : state) {
        const std::uint64_t before = BytesWrittenByProcess();
        source.Seek(0);
        target.Seek(0);
        for (std::uint64_t done = 0; done < AddedBytes; done += chunk.size()) {
            source.Read(chunk);
            target.Write(chunk);
        }
        target.Flush();
        written += BytesWrittenByProcess() - before;
    }
    state.counters["bytes_written"] = double(written) / double(state.iterations());
    state.SetBytesProcessed(std::int64_t(state.iterations() * AddedBytes));
}
BENCHMARK(BM_PlainCopy4MiB)->Iterations(24)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return RunBenchmarksAndReportMemory(
        argc, argv,
        "the largest archive holds " + std::to_string(std::uint64_t(EntryCount) * 100 * 2048 >> 20) + " MiB of data");
}
