#pragma once
// Tiny synthetic archives for the archive tests.

#include "archive/IMG.h"
#include "fileio/ByteOrder.h"

#include <filesystem>
#include <string>
#include <vector>

struct TTestEntry {
    std::string Name;
    std::uint32_t Offset = 0;
    std::uint32_t Size = 0;
};

// 2048 × Size bytes, different for every name.
vehmira::fileio::ByteBuffer TestEntryData(const TTestEntry& entry);

// Tag, count and entries as they lie from byte 0 on.
vehmira::fileio::ByteBuffer TestDirectoryImage(const std::vector<TTestEntry>& entries);

// Writes the directory and every entry's data (later entries win where blocks
// share sectors). The file is at least fileSize bytes long; a larger fileSize
// leaves a sparse hole.
std::filesystem::path WriteTestArchive(const std::filesystem::path& path, const std::vector<TTestEntry>& entries,
                                       std::uint64_t fileSize = 0);

// The whole archive as it is now, read through its own open stream.
vehmira::fileio::ByteBuffer ArchiveBytes(vehmira::archive::TIMGFile& archive);

vehmira::fileio::ByteBuffer Extract(vehmira::archive::TIMGFile& archive, std::string_view name);

// bytes followed by zeros up to length.
vehmira::fileio::ByteBuffer ZeroFilled(const vehmira::fileio::ByteBuffer& bytes, std::size_t length);

// prefix, the number, suffix ("e12.dff").
std::string NumberedName(std::string_view prefix, std::size_t number, std::string_view suffix = "");
