#pragma once
// Whether the game finds every texture a vehicle's model uses.
//
// The game looks a vehicle's textures up in the vehicle's own dictionary
// first, then in the shared vehicle dictionary Models\Generic\Vehicle.txd,
// comparing names ignoring the case of ASCII letters.

#include "renderware/ModelSummary.h"
#include "renderware/TextureDictionary.h"

#include <string>
#include <vector>

namespace vehmira::renderware {

enum class TCheckWarningKind {
    PlatformMismatch,    // model and dictionary made for different platforms
    UnreadableVersion,   // a stream the PC game's library refuses (see LibraryVersion.h)
    UndecodableTexture,  // a texture the model uses is damaged or of an unknown format
};

struct TCheckWarning {
    TCheckWarningKind Kind;
    std::string Subject;  // "model", "dictionary", "shared dictionary", or a texture name
    std::string Text;     // the facts, in English
};

struct TTextureCheck {
    // Names the model uses that its own dictionary lacks, in the model's order.
    std::vector<std::string> NotInOwnDictionary;
    // With a shared dictionary: the names found in neither.
    std::vector<std::string> Missing;
    // Without one: the same names as NotInOwnDictionary, which the game would
    // look for in the shared dictionary (not checked).
    std::vector<std::string> ExpectedFromShared;
    bool SharedDictionaryChecked = false;
    std::vector<TCheckWarning> Warnings;

    bool AllFound() const { return Missing.empty() && (SharedDictionaryChecked || ExpectedFromShared.empty()); }
};

TTextureCheck CheckModelTextures(const TModelSummary& model, const TTextureDictionary& ownDictionary,
                                 const TTextureDictionary* sharedDictionary = nullptr);

} // namespace vehmira::renderware
