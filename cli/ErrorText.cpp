#include "cli/ErrorText.h"

#include "cli/OutputText.h"
#include "engine/JournalDamage.h"
#include "fileio/GamePaths.h"

namespace vehmira::cli {

namespace {
std::string NotGameDirectoryText(const fileio::TErrorFacts& facts, bool gameGiven)
{
    const std::string missing = HostPath(facts.Subject);
    if (facts.Subject.starts_with(fileio::GameFiles::TextDirectory))
        return "the game directory \"" + facts.Path + "\" has no " + missing +
               "; choose one of the game's GXT files with --gxt NAME";
    if (!gameGiven)
        return "the current directory holds no game (it has no " + missing +
               "); give the game directory with --game DIR";
    return "\"" + facts.Path + "\" is not a game directory: it has no " + missing;
}

// What is wrong with a journal that recovery or undo refused.
std::string JournalDamageText(const fileio::TErrorFacts& facts)
{
    namespace damage = engine::JournalDamage;
    const std::string named = "\"" + MessageToUtf8(facts.Text) + "\"";
    const std::string length = std::to_string(facts.Number);
    if (facts.Subject == damage::UnreadableManifest)
        return "its manifest cannot be read (" + MessageToUtf8(facts.Text) + ")";
    if (facts.Subject == damage::DamagedCopy)
        return MessageToUtf8(facts.Text);
    if (facts.Subject == damage::ForeignArchive)
        return "it names " + named + " as the model archive, which is not the game's " +
               HostPath(fileio::GameFiles::ModelArchive);
    if (facts.Subject == damage::ArchiveLonger)
        return "it gives the archive a length of " + length + " bytes, more than it has now";
    if (facts.Subject == damage::ArchiveCut)
        return "it would cut the archive to " + length + " bytes, inside the data its directory holds";
    if (facts.Subject == damage::FileIsArchive)
        return "it names the model archive " + named + " as a file to put back";
    if (facts.Subject == damage::FileInJournal)
        return "it names " + named + ", a file inside the journal folder";
    if (facts.Subject == damage::FileNotImported)
        return "it names " + named + ", which no import writes";
    return "it names " + named + ", which is reached through a symbolic link or junction";
}
} // namespace

std::string ErrorText(const fileio::TVehmiraError& error, bool gameGiven)
{
    const fileio::TErrorFacts& facts = error.Facts();
    switch (error.Kind()) {
    case fileio::TErrorKind::NotGXTFile: return "GXT-File Error!!!";
    case fileio::TErrorKind::NoSuchVehicle:
        return "vehicle " + std::to_string(facts.Number) +
               ": this vehicle has no definition in the CARS section of Data\\Vehicles.ide, so it cannot be "
               "exported or replaced.";
    case fileio::TErrorKind::NoGameDirectory:
        return "The game directory \"" + facts.Path + "\" does not exist";
    case fileio::TErrorKind::NotGameDirectory: return NotGameDirectoryText(facts, gameGiven);
    case fileio::TErrorKind::FileInUse:
        return "\"" + facts.Path + "\" is in use by another program (is the game running?); close it and try again";
    case fileio::TErrorKind::FileAccessDenied:
        return "access to \"" + facts.Path +
               "\" is denied: the file or folder is read-only, or you may not write there";
    case fileio::TErrorKind::DamagedJournal:
        return "the import journal \"" + facts.Path + "\" is damaged: " + JournalDamageText(facts) +
               ". Nothing was changed; move that folder out of the way to go on.";
    case fileio::TErrorKind::NoOpenArchive:
        return "the model archive Models\\GTA3.img is not open: give the game directory with --game.";
    default:
        // The core's own description names the file or piece and what is wrong with it.
        return MessageToUtf8(error.what());
    }
}

} // namespace vehmira::cli
