#pragma once
// The one error type of the core. It names its kind and carries the facts a
// front end needs to say it in its own words (the window in its interface
// language, the command line in English). what() describes the same facts in
// plain English, for the kinds a front end does not word itself.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>

namespace vehmira::fileio {

enum class TErrorKind {
    Failure,               // anything else: what() says what and where
    NotGXTFile,            // a GXT text file that cannot be read (Path)
    NotCarPackage,         // the file does not begin with "CAR" (Path)
    UnsupportedCarVersion, // a package version other than 2 (Path, Number: the version)
    NoOpenArchive,         // an engine was called without an open model archive
    NoGameDirectory,       // the game directory given does not exist (Path)
    NotGameDirectory,      // a directory without the game's files (Path, Subject: the first missing, "Models\GTA3.img")
    NoSuchVehicle,         // no definition line for the ID (Number: the ID)
    SourceMissing,         // a separate DFF/TXD input does not exist (Path, Subject: "DFF" or "TXD")
    SourceUnreadable,      // a separate DFF/TXD input cannot be read (Path, Subject)
    SourceNotRenderWare,   // an input or a package piece is not that RenderWare stream (Path or empty, Subject)
    TooLarge,              // a file or piece larger than the operation takes (Path or empty, Subject, Number: its size)
    // A typed line to import that the game could not take (Subject: which line,
    // "Vehicles.ide line", "main handling line" and so on; Text: the line).
    ImportedLineBreak,    // it holds a line break
    ImportedLineComment,  // it is a comment line
    ImportedLineTooShort, // too few fields (Number: its filled fields, Needed: the least it must have)
    ImportedLineZeroByte, // it holds a zero byte, where the game's line ends (Number: its place, from 1)
    ImportedLineReadBack, // rebuilt from its fields it would read as other fields
    ImportedLineNoMarker, // a special handling line without its marker ("!", "$" or "%")
    // A line of a game file the import merges into lacks a field the game
    // reads, or has it empty (Subject: the file, "Data\\Handling.cfg"; Number:
    // the line number; Text: the line, the game's 8-bit bytes).
    GameLineDamaged,
    // An import journal that recovery or undo will not act on, having changed
    // nothing (Path: its folder; Subject: the reason, one of
    // engine::JournalDamage; Text: the path it names, or for an unreadable
    // manifest or saved copy what is wrong, in English; Number: a length in bytes).
    DamagedJournal,
    // The system refused a file operation (Path: the file or folder):
    FileInUse,        // another program holds the file (the game running, another copy of this tool)
    FileAccessDenied, // no right to write there (a read-only file or medium, a protected folder)
    // An undo refused; nothing was changed:
    NothingToUndo,      // no import can be undone (Number: how many recorded imports a rebuild of the archive retired)
    ChangedSinceImport, // a file changed since the import (Path: as the game names it, "Data\\Handling.cfg";
                        // Subject: the import's target, "415 (cheetah)")
};

struct TErrorFacts {
    std::string Path;        // a file, UTF-8
    std::string Subject;     // what the error is about: a piece, a field, an entry name
    std::int64_t Number = 0; // an ID, a version, a line number
    std::string Text;        // text as it was given (a typed line: the game's 8-bit bytes)
    std::int64_t Needed = 0; // the least the game takes
};

class TVehmiraError : public std::runtime_error {
public:
    explicit TVehmiraError(const std::string& description) : std::runtime_error(description) {}
    TVehmiraError(TErrorKind kind, const std::string& description, TErrorFacts facts = {})
        : std::runtime_error(description), ErrorKind(kind), ErrorFacts(std::move(facts))
    {
    }

    TErrorKind Kind() const { return ErrorKind; }
    const TErrorFacts& Facts() const { return ErrorFacts; }

private:
    TErrorKind ErrorKind = TErrorKind::Failure;
    TErrorFacts ErrorFacts;
};

} // namespace vehmira::fileio
