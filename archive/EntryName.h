#pragma once
// The rules for a name written into the archive's directory: the one home for
// them, applied by every path that writes a record.
//
// A name field is 24 bytes. The game copies the name with the string routines
// of C, so a name must end in a zero inside its field: 23 characters at most,
// and none of them a zero byte (the name would end there).

#include "archive/DIR.h"

#include <cstddef>
#include <string_view>

namespace vehmira::archive {

inline constexpr std::size_t MaxEntryNameLength = EntryNameSize - 1;

// Raises TVehmiraError (Subject: the name) for an empty name, one longer than
// MaxEntryNameLength, or one holding a zero byte.
void CheckEntryName(std::string_view entryName);

} // namespace vehmira::archive
