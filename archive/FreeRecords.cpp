#include "archive/FreeRecords.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <limits>

namespace vehmira::archive {

namespace {

constexpr std::string_view FreeRecordPrefix = "vehmira-free-";

} // namespace

bool IsFreeRecordName(std::string_view name)
{
    return name.size() > FreeRecordPrefix.size() && name.substr(0, FreeRecordPrefix.size()) == FreeRecordPrefix &&
           std::all_of(name.begin() + std::ptrdiff_t(FreeRecordPrefix.size()), name.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

std::uint64_t NextFreeRecordNumber(const TDIREntrys& entries)
{
    std::uint64_t next = 1;
    for (const TDIREntry& entry : entries) {
        if (!IsFreeRecord(entry))
            continue;
        const std::string_view digits = std::string_view(entry.Name).substr(FreeRecordPrefix.size());
        std::uint64_t number = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (error != std::errc() || number == std::numeric_limits<std::uint64_t>::max())
            return std::numeric_limits<std::uint64_t>::max(); // past every number a record can take
        next = std::max(next, number + 1);
    }
    return next;
}

TDIREntry MakeFreeRecord(std::uint32_t number, std::uint32_t offset, std::uint32_t size)
{
    char digits[16];
    std::snprintf(digits, sizeof digits, "%06u", unsigned(number));
    return {offset, size, std::string(FreeRecordPrefix) + digits};
}

} // namespace vehmira::archive
