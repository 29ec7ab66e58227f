#include "renderware/TextureCheck.h"

namespace vehmira::renderware {

namespace {

// A texture the game loads from the dictionary (those past its declared
// count it never reads).
const TTextureRecord* FindLoaded(const TTextureDictionary& dictionary, std::string_view name)
{
    for (const TTextureRecord& record : dictionary.Textures())
        if (!record.IgnoredByGame && SameTextureName(record.Name, name))
            return &record;
    return nullptr;
}

void CheckVersion(const TLibraryVersion& version, const std::string& subject, TTextureCheck& check)
{
    if (!PcGameReadsVersion(version))
        check.Warnings.push_back({TCheckWarningKind::UnreadableVersion, subject,
                                  "the " + subject + " was written by RenderWare " + version.Text() +
                                      "; the PC game reads " +
                                      TLibraryVersion{OldestVersionPcGameReads}.Text() + " to " +
                                      TLibraryVersion{NewestVersionPcGameReads}.Text()});
}

bool PlatformsAgree(TPlatform model, TPlatform dictionary)
{
    if (model == TPlatform::Unknown || dictionary == TPlatform::Unknown)
        return true;
    if (model == TPlatform::Console)
        return dictionary == TPlatform::PS2 || dictionary == TPlatform::Xbox;
    return model == dictionary;
}

void CheckPlatform(TPlatform model, const TTextureDictionary& dictionary, const std::string& subject,
                   TTextureCheck& check)
{
    if (!PlatformsAgree(model, dictionary.Platform()))
        check.Warnings.push_back({TCheckWarningKind::PlatformMismatch, subject,
                                  "the model is made for " + std::string(PlatformName(model)) + ", the " + subject +
                                      " for " + std::string(PlatformName(dictionary.Platform()))});
}

void WarnIfUndecodable(const TTextureRecord& record, const std::string& where, TTextureCheck& check)
{
    if (!record.Decodable())
        check.Warnings.push_back({TCheckWarningKind::UndecodableTexture, record.Name,
                                  "texture \"" + record.Name + "\" in the " + where + " cannot be read: " + record.Problem});
}

} // namespace

TTextureCheck CheckModelTextures(const TModelSummary& model, const TTextureDictionary& ownDictionary,
                                 const TTextureDictionary* sharedDictionary)
{
    TTextureCheck check;
    check.SharedDictionaryChecked = sharedDictionary != nullptr;
    for (const std::string& name : model.TextureNames) {
        if (const TTextureRecord* own = FindLoaded(ownDictionary, name)) {
            WarnIfUndecodable(*own, "dictionary", check);
            continue;
        }
        check.NotInOwnDictionary.push_back(name);
        if (!sharedDictionary)
            check.ExpectedFromShared.push_back(name);
        else if (const TTextureRecord* shared = FindLoaded(*sharedDictionary, name))
            WarnIfUndecodable(*shared, "shared dictionary", check);
        else
            check.Missing.push_back(name);
    }
    CheckVersion(model.Version, "model", check);
    CheckVersion(ownDictionary.Version(), "dictionary", check);
    CheckPlatform(model.Platform, ownDictionary, "dictionary", check);
    if (sharedDictionary) {
        CheckVersion(sharedDictionary->Version(), "shared dictionary", check);
        CheckPlatform(model.Platform, *sharedDictionary, "shared dictionary", check);
    }
    return check;
}

} // namespace vehmira::renderware
