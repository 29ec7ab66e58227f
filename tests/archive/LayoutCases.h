#pragma once
// Hand-made archives shared by the layout and rebuild tests, with what the
// game's chained read makes of them.

#include "support/ArchiveBuilder.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

struct TLayoutCase {
    const char* Label;
    std::vector<TTestEntry> Entries;
    std::int64_t CutBytes = 0; // taken off the end of the file as WriteTestArchive leaves it
    // Expected
    std::vector<std::string> MisreadByGame; // by the oracle
    std::uint64_t ChainPairs = 0;
    std::size_t MisreadPairs = 0;
    std::uint64_t HoleBytes = 0;
    std::size_t Overlapping = 0;
    std::size_t PastEnd = 0;
    std::size_t ShortTail = 0;
    std::size_t Duplicates = 0;
    std::size_t Unterminated = 0;
    std::uint64_t FreeRecords = 0;
    std::uint64_t FreeBytes = 0;
};

const std::vector<TLayoutCase>& LayoutCases();

// Writes the case's archive to path and cuts it short as the case says.
std::filesystem::path WriteLayoutCase(const std::filesystem::path& path, const TLayoutCase& test);
