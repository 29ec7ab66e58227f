#pragma once
// Why recovery or undo refused a journal: what the fronts word.

#include <string_view>

namespace vehmira::engine {

// The reasons a journal is refused as damaged: the Subject of a
// TErrorKind::DamagedJournal error.
namespace JournalDamage {
inline constexpr std::string_view UnreadableManifest = "unreadable manifest"; // Text: what is wrong
inline constexpr std::string_view DamagedCopy = "damaged copy";               // Text: what is wrong
inline constexpr std::string_view ForeignArchive = "foreign archive";         // Text: the archive it names
inline constexpr std::string_view ArchiveLonger = "archive longer";           // Number: the length it gives
inline constexpr std::string_view ArchiveCut = "archive cut";                 // Number: the length it gives
inline constexpr std::string_view FileIsArchive = "file is archive";          // Text: the file it names
inline constexpr std::string_view FileInJournal = "file in journal";          // Text: the file it names
inline constexpr std::string_view FileNotImported = "file not imported";      // Text: the file it names
inline constexpr std::string_view FileThroughLink = "file through link";      // Text: the file it names
} // namespace JournalDamage

} // namespace vehmira::engine
