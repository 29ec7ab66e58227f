#pragma once
// What the benchmark programs share: a scratch directory, the bytes the
// process has written, and the main that prints the peak memory afterwards.

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

// A scratch directory of this run, removed at the end of the program.
class TBenchDirectory {
public:
    explicit TBenchDirectory(std::string_view purpose)
        : Root(std::filesystem::temp_directory_path() /
               ("vehmira-" + std::string(purpose) + "-" +
                std::to_string(std::chrono::steady_clock::now().time_since_epoch().count())))
    {
        std::filesystem::create_directories(Root);
    }
    ~TBenchDirectory()
    {
        std::error_code ignored;
        std::filesystem::remove_all(Root, ignored);
    }
    TBenchDirectory(const TBenchDirectory&) = delete;
    TBenchDirectory& operator=(const TBenchDirectory&) = delete;

    std::filesystem::path File(std::string_view name) const { return Root / name; }
    const std::filesystem::path& Path() const { return Root; }

private:
    std::filesystem::path Root;
};

// Bytes this process has handed to write calls so far (Linux /proc accounting).
inline std::uint64_t BytesWrittenByProcess()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    std::uint64_t value = 0;
    while (io >> key >> value)
        if (key == "wchar:")
            return value;
    return 0;
}

// Runs the registered benchmarks, then prints the peak resident memory with a
// note on the sizes it should be compared with.
inline int RunBenchmarksAndReportMemory(int argc, char** argv, const std::string& sizesNote)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rusage usage{};
    if (getrusage(RUSAGE_SELF, &usage) == 0)
        std::printf("Peak resident memory: %.1f MiB (%s)\n", double(usage.ru_maxrss) / 1024.0, sizesNote.c_str());
    return 0;
}
