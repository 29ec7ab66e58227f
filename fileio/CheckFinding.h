#pragma once
// What the check before an import finds: a code the fronts word in their own
// language, with the facts that name the place. The model's findings come
// from renderware/, the lines' from gamedata/, gathered by engine/.

#include "fileio/Errors.h"

#include <string_view>
#include <vector>

namespace vehmira::fileio {

enum class TCheckCode {
    // Errors: the game would crash, refuse the model or misread it.
    UnreadableModel,      // Subject: the reader's account
    UnreadableTextures,   // Subject: the reader's account
    MissingFrame,         // Subject: the frame
    NoCollision,
    BadCollision,         // Subject: "tag", "header_only", "size_below_header", "too_large", "cut_off"; Number: a size
    FrameNameTooLong,     // Subject: the name; Number: its length in bytes
    UnsupportedVersion,   // Subject: "model" or "texture dictionary"; Number: the version 0xVJNBB
    ExtraWithoutAtomic,   // Subject: the frame
    ConsoleData,          // the model's geometry is pre-instanced for a console
    IdeFields,            // Number: the fields counted; Subject: the type
    IdeType,              // Subject: the type string
    HandlingMissing,      // Subject: the handling ID
    HandlingKind,         // Subject: the line kind the type reads ("!", "$" or "%"); Number: 0
    HandlingFields,       // Subject: the line kind ("" for a standard line); Number: the values counted
    // Warnings: the game loads the vehicle but it looks or behaves wrongly.
    ModelKind,            // Subject: the kind of vehicle the model's frames belong to
    MissingTexture,       // Subject: the texture
    NoDamagedParts,
    NoLowDetailPart,
    MissingDummy,         // Subject: the frame
    NoWheelAtomic,        // Subject: the frame the game takes the wheel from
    WheelSizeZero,        // Number: the field (13 front, 14 rear)
    GXTKeysUnsorted,      // Subject: the GXT file under the game directory; Number: keys the game's search misses
    IdeFieldsGameLine,    // the game's own short plane line (the stock Skimmer's); Number: the fields read; Subject: the type
    // What the scan of a whole game finds (errors unless said otherwise).
    MissingModel,         // Subject: the entry name, in no archive the game reads
    MissingTxd,           // Subject: the entry name, in no archive the game reads
    ArchiveShadowed,      // warning; Subject: the entry name; Path: the archive the game loads it from; Text: another holding it
    PaintjobLimit,        // Number: the paintjobs the game assigns; Subject: the first past the limit
    CarcolsUnknownModel,  // Subject: the model name
    CarcolsColourRange,   // warning; Subject: the model name; Number: the colour number; Needed: the colours in the table
    CarcolsTooMany,       // warning; Subject: the model name; Number: the colour sets on the line
    CarmodsUnknownModel,  // Subject: the model name
    CarmodsUnknownPart,   // Subject: the part; Text: the line's first name
};

inline constexpr TCheckCode FirstCheckWarning = TCheckCode::ModelKind;

// Codes appended after the first warning are errors unless they are warnings.
inline bool IsCheckError(TCheckCode code)
{
    switch (code) {
    case TCheckCode::IdeFieldsGameLine:
    case TCheckCode::ArchiveShadowed:
    case TCheckCode::CarcolsColourRange:
    case TCheckCode::CarcolsTooMany: return false;
    default: return code < FirstCheckWarning || code > TCheckCode::IdeFieldsGameLine;
    }
}

// The stable name of a code, as the command line's JSON prints it ("missing_frame").
std::string_view CheckCodeName(TCheckCode code);

struct TCheckFinding {
    TCheckCode Code;
    TErrorFacts Facts; // Path: only where the code says
};

using TCheckFindings = std::vector<TCheckFinding>;

inline bool HasCheckErrors(const TCheckFindings& findings)
{
    for (const TCheckFinding& finding : findings)
        if (IsCheckError(finding.Code))
            return true;
    return false;
}

} // namespace vehmira::fileio
