#pragma once
// Import of a vehicle over an existing one: all or nothing, journaled for undo.

#include "fileio/Errors.h"
#include "fileio/Progress.h"
#include "gamedata/VehiclesIde.h"
#include "engine/GameContext.h"

#include <filesystem>
#include <string>
#include <variant>
#include <vector>

namespace vehmira::engine {

// The separate inputs. Every text is the game's 8-bit text (code page 1251);
// an empty (or blank-only) text or path skips its step.
struct TImportFiles {
    std::filesystem::path DFF;
    std::filesystem::path TXD;
    std::string Name;
    std::string Handling;
    std::string HandlingSpecial;
    std::string Vehicles;
    std::string Carcols;
};

using TImportSource = std::variant<std::filesystem::path, TImportFiles>;

// Whether the separate inputs give anything: a path or a text that is not blank.
bool GivesAnything(const TImportFiles& files);
// The import's own check of the DFF and TXD files named, for a front to make
// early: each exists, can be read and begins with its stream's root chunk.
// Raises SourceMissing, SourceUnreadable or SourceNotRenderWare.
void CheckSourceFiles(const TImportFiles& files);

struct TImportResult {
    std::vector<std::string> SkippedSteps; // e.g. "special handling line: the package holds no line"
    std::string JournalId;                 // empty when nothing was written
    // What the import wrote: the archive entries, then the game's text files
    // as paths relative to the game directory ("Data/Handling.cfg").
    std::vector<std::string> WrittenEntries;
    std::vector<std::string> WrittenFiles;

    // Every step was skipped or would have written what the game already
    // holds: the game is unchanged and no import was recorded.
    bool ChangedNothing() const { return JournalId.empty(); }
};

// A failed import. The game directory is as it was before. It carries the
// kind and facts of its cause (a wrong package, a missing DFF file, an
// unreadable GXT file, ...), so a front end can say what went wrong before it
// says that the import failed.
class TImportError : public fileio::TVehmiraError {
public:
    explicit TImportError(const fileio::TVehmiraError& cause) : fileio::TVehmiraError(cause) {}
    explicit TImportError(const std::string& description) : fileio::TVehmiraError(description) {}
};

// Reads and checks the whole source and every game file the import will
// write, then applies the steps (model, texture dictionary, display name,
// handling lines, Vehicles.ide line, Carcols.dat line) inside one
// TImportTransaction. Every failure is a TImportError, and the game directory
// is then as it was.
//
// Model and texture data never overwrite the archive's old bytes: they go
// into free space (CopyOnWrite.h), the replaced sectors stay under free
// records for undo. Progress counts the bytes written; a cancel stops the
// import (TOperationCancelled inside the TImportError) and rolls it back.
TImportResult ImportVehicle(const TGameContext& game, const gamedata::TVehicleRecord& target,
                            const TImportSource& source, fileio::TProgressSink* progress = nullptr);
TImportResult ImportFromPackage(const TGameContext& game, const gamedata::TVehicleRecord& target,
                                const std::filesystem::path& package, fileio::TProgressSink* progress = nullptr);
TImportResult ImportFromFiles(const TGameContext& game, const gamedata::TVehicleRecord& target,
                              const TImportFiles& files, fileio::TProgressSink* progress = nullptr);

} // namespace vehmira::engine
