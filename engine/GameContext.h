#pragma once
// What the export and import engines work on: one game directory, its chosen
// GXT file and its open model archive.

#include "archive/IMG.h"

#include <filesystem>
#include <string>

namespace vehmira::engine {

struct TGameContext {
    std::filesystem::path GameDirectory;
    std::string GXTFileName; // a name under Text\, for example "American.gxt"
    archive::TIMGFile* Archive = nullptr; // must be open; the engines refuse to run otherwise
};

// The export, the import and the undo refuse to run without an open archive:
// raises a TVehmiraError of kind NoOpenArchive.
void RequireOpenArchive(const TGameContext& game);

} // namespace vehmira::engine
