// The archive's layout check and rebuild at the size of a real model archive:
// the check of a 16,000-entry directory (read from its file and in memory),
// where an import's model and dictionary go in such a directory,
// and the rebuild of a 1 GiB, 16,000-entry archive whose data lie in reverse
// directory order (and of one whose data mostly lie in order already, as after
// a few imports), next to `cp` of the same file followed by a flush of the
// copy (the bytes any rebuild has to move). The ratio should stay below 1.3.

#include "archive/ArchiveLayout.h"
#include "archive/ArchiveRebuild.h"
#include "archive/CopyOnWrite.h"
#include "fileio/FileStream.h"

#include "BenchSupport.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>

using namespace vehmira::archive;
using namespace vehmira::fileio;

namespace {

constexpr std::uint32_t EntryCount = 16000;
constexpr std::uint32_t SectorsPerEntry = 32; // 16,000 × 64 KiB = 1000 MiB of data

const TBenchDirectory& BenchDirectory()
{
    static const TBenchDirectory directory("rebuild-bench");
    return directory;
}

std::uint64_t FirstDataSector() { return (8 + std::uint64_t(EntryCount) * 32 + 2047) / 2048; }

TDIREntrys ReversedEntries()
{
    TDIREntrys entries;
    for (std::uint32_t i = 0; i < EntryCount; ++i)
        entries.push_back({std::uint32_t(FirstDataSector() + std::uint64_t(EntryCount - 1 - i) * SectorsPerEntry),
                           SectorsPerEntry, "model" + std::to_string(i) + (i % 2 ? ".dff" : ".txd")});
    return entries;
}

// An archive after a few imports: the data in directory order, except every
// 500th entry, whose new data were appended at the end.
TDIREntrys MostlyInOrderEntries()
{
    TDIREntrys entries = ReversedEntries();
    std::vector<std::uint32_t> offsets;
    for (std::uint32_t i = 0; i < EntryCount; ++i)
        offsets.push_back(std::uint32_t(FirstDataSector() + std::uint64_t(i) * SectorsPerEntry));
    std::uint32_t moved = 0;
    std::uint32_t kept = 0;
    const std::uint32_t movedCount = EntryCount / 500;
    for (std::uint32_t i = 0; i < EntryCount; ++i)
        entries[i].Offset = i % 500 == 499 ? offsets[EntryCount - movedCount + moved++] : offsets[kept++];
    return entries;
}

// The archive with every data byte written (not sparse), so both sides read real data.
std::filesystem::path WriteFullArchive(const std::string& name, const TDIREntrys& entries)
{
    {
        const auto file = BenchDirectory().File(name);
        TFileStream stream(file, TFileAccess::CreateOrTruncate);
        TDIRFile directory;
        directory.Entries = entries;
        stream.Write(ByteBuffer{'V', 'E', 'R', '2'});
        directory.SaveToStream(stream);
        ByteBuffer chunk(std::size_t(SectorsPerEntry) * 2048);
        for (std::uint32_t i = 0; i < EntryCount; ++i) {
            std::fill(chunk.begin(), chunk.end(), std::uint8_t(i * 7 + 1));
            stream.Seek((FirstDataSector() + std::uint64_t(i) * SectorsPerEntry) * 2048);
            stream.Write(chunk);
        }
        stream.Flush();
    }
    return BenchDirectory().File(name);
}

const std::filesystem::path& FullArchive()
{
    static const std::filesystem::path path = WriteFullArchive("full.img", ReversedEntries());
    return path;
}

const std::filesystem::path& MostlyInOrderArchive()
{
    static const std::filesystem::path path = WriteFullArchive("in-order.img", MostlyInOrderEntries());
    return path;
}

double Seconds(std::chrono::steady_clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

// Arg 0: data in reverse directory order (every neighbour misread); 1: in
// order after a few imports, the directory an import plans on.
void BM_CheckLayoutInMemory(benchmark::State& state)
{
    const TDIREntrys entries = state.range(0) == 0 ? ReversedEntries() : MostlyInOrderEntries();
    for (auto _ : state) {
        const TArchiveLayout layout = AnalyseLayout(entries, (FirstDataSector() + EntryCount * SectorsPerEntry) * 2048);
        benchmark::DoNotOptimize(layout.MisreadPairs.data());
    }
    state.counters["entries"] = EntryCount;
}

// A model and a dictionary of 3 MiB each over entries of 64 KiB, as an import plans them.
void BM_PlanImportInMemory(benchmark::State& state)
{
    const TDIREntrys entries = MostlyInOrderEntries();
    const std::uint64_t fileSize = (FirstDataSector() + EntryCount * SectorsPerEntry) * 2048;
    const TEntryWrite writes[] = {{entries[1000].Name, 3 << 20}, {entries[1001].Name, 3 << 20}};
    for (auto _ : state) {
        const TPlacement placement = PlanCopyOnWrite(entries, fileSize, writes, {});
        benchmark::DoNotOptimize(placement.Entries.data());
    }
    state.counters["entries"] = EntryCount;
}

void BM_CheckLayoutOfFile(benchmark::State& state)
{
    const std::filesystem::path& path = FullArchive();
    for (auto _ : state) {
        const TArchiveLayout layout = AnalyseLayout(path);
        benchmark::DoNotOptimize(layout.MisreadPairs.data());
    }
    state.counters["entries"] = EntryCount;
}

double CopyAndFlushSeconds(const std::filesystem::path& from, const std::filesystem::path& to)
{
    const auto start = std::chrono::steady_clock::now();
    const std::string command = "cp '" + from.string() + "' '" + to.string() + "' && sync '" + to.string() + "'";
    if (std::system(command.c_str()) != 0)
        return -1;
    return Seconds(std::chrono::steady_clock::now() - start);
}

double RebuildSeconds(const std::filesystem::path& archive)
{
    const auto start = std::chrono::steady_clock::now();
    RebuildArchiveFile(archive);
    return Seconds(std::chrono::steady_clock::now() - start);
}

// Copies the archive to a scratch file and removes it again. This machine
// hands memory that has been free for a while back to its host, and taking
// it again makes a gigabyte's copy several times slower: each side starts
// right after this, so both find as much memory freed just now.
void FreeMemoryJustNow(const std::filesystem::path& source)
{
    const std::filesystem::path scratch = BenchDirectory().File("scratch.img");
    std::filesystem::copy_file(source, scratch, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(scratch);
}

// Best of two rounds each, alternating, so neither side alone profits from a warm cache.
void RebuildVersusCopy(benchmark::State& state, const std::filesystem::path& source)
{
    const std::filesystem::path copied = BenchDirectory().File("copy.img");
    const std::filesystem::path rebuilt = BenchDirectory().File("rebuild.img");
    double copy = 1e9;
    double rebuild = 1e9;
    for (auto _ : state) {
        for (int round = 0; round < 2; ++round) {
            std::filesystem::remove(copied);
            FreeMemoryJustNow(source);
            copy = std::min(copy, CopyAndFlushSeconds(source, copied));
            std::filesystem::remove(rebuilt);
            std::filesystem::copy_file(source, rebuilt);
            std::system(("sync '" + rebuilt.string() + "'").c_str());
            FreeMemoryJustNow(source);
            rebuild = std::min(rebuild, RebuildSeconds(rebuilt));
        }
        state.SetIterationTime(rebuild);
    }
    state.counters["GiB"] = double(std::filesystem::file_size(source)) / double(1 << 30);
    state.counters["copy_flush_s"] = copy;
    state.counters["rebuild_s"] = rebuild;
    state.counters["ratio"] = rebuild / copy;
    std::printf("Rebuild %.2f s, cp + flush %.2f s, ratio %.2f\n", rebuild, copy, rebuild / copy);
}

void BM_RebuildVersusCopy(benchmark::State& state) { RebuildVersusCopy(state, FullArchive()); }
void BM_RebuildMostlyInOrderVersusCopy(benchmark::State& state) { RebuildVersusCopy(state, MostlyInOrderArchive()); }

} // namespace

BENCHMARK(BM_CheckLayoutInMemory)->ArgName("in_order")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlanImportInMemory)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckLayoutOfFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RebuildVersusCopy)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);
BENCHMARK(BM_RebuildMostlyInOrderVersusCopy)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

int main(int argc, char** argv)
{
    return RunBenchmarksAndReportMemory(argc, argv, "the rebuild's buffer is 4 MiB; the archive 1 GiB");
}
