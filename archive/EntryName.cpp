#include "archive/EntryName.h"

#include "fileio/Errors.h"

#include <string>

namespace vehmira::archive {

void CheckEntryName(std::string_view entryName)
{
    const std::string quoted = "\"" + std::string(entryName) + "\"";
    if (entryName.empty())
        throw fileio::TVehmiraError("An archive entry name is empty");
    // A longer name would be stored cut short, without its terminator: neither
    // the game nor an export would find the entry again.
    if (entryName.size() > MaxEntryNameLength)
        throw fileio::TVehmiraError("The archive entry name " + quoted + " is longer than " +
                                    std::to_string(MaxEntryNameLength) + " characters");
    if (entryName.find('\0') != std::string_view::npos)
        throw fileio::TVehmiraError("The archive entry name " + quoted + " contains a zero byte");
}

} // namespace vehmira::archive
