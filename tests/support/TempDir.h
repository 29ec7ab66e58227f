#pragma once
// A fresh directory per test, removed with everything in it afterwards.

#include "fileio/ByteOrder.h"

#include <filesystem>
#include <string_view>

class TTempDir {
public:
    TTempDir();
    ~TTempDir();
    TTempDir(const TTempDir&) = delete;
    TTempDir& operator=(const TTempDir&) = delete;

    const std::filesystem::path& Path() const { return Root; }
    std::filesystem::path operator/(std::string_view relative) const;

    // Writes a file (creating its directories) with the given bytes.
    std::filesystem::path Write(std::string_view relative, std::string_view bytes) const;
    std::filesystem::path Write(std::string_view relative, const vehmira::fileio::ByteBuffer& bytes) const;
    // The names of the entries directly inside a directory, sorted.
    std::vector<std::string> List(std::string_view relative = "") const;

private:
    std::filesystem::path Root;
};

// Symbolic links need a right Windows gives few users: the cases that make
// them run where anyone may.
#ifdef _WIN32
inline constexpr bool SymbolicLinksCanBeMade = false;
#else
inline constexpr bool SymbolicLinksCanBeMade = true;
#endif

std::string ReadText(const std::filesystem::path& path);
