#pragma once
// For the export and import tests: a fixture game directory with its archive
// open and its vehicle definitions loaded, plus room for packages beside it.

#include "archive/IMG.h"
#include "fileio/GamePaths.h"
#include "gamedata/VehiclesIde.h"
#include "package/GameContext.h"
#include "package/GameFixture.h"
#include "support/TempDir.h"

#include <map>
#include <stdexcept>
#include <string>

class TFixtureGame {
public:
    explicit TFixtureGame(const TGameFixtureContent& content = GameFixture::DefaultContent()) : Content(content)
    {
        GameFixture::WriteGameDirectory(GameDirectory(), content);
        Archive.Open(ResolveGamePath(GameDirectory(), GameFiles::ModelArchive));
        Definitions.LoadFromFile(ResolveGamePath(GameDirectory(), GameFiles::VehicleDefinitions));
    }

    std::filesystem::path GameDirectory() const { return Temp / "game"; }
    // A path outside the game directory, for packages and separate input files.
    std::filesystem::path Outside(std::string_view name) const
    {
        std::filesystem::create_directories(Temp / "outside");
        return Temp / ("outside/" + std::string(name));
    }
    TGameContext Context() { return {GameDirectory(), Content.GXTFileName, &Archive}; }
    const TVehicleRecord& Vehicle(std::int32_t id) const
    {
        const TVehicleRecord* record = Definitions.FindLastByID(id);
        if (record == nullptr)
            throw std::runtime_error("fixture has no vehicle " + std::to_string(id));
        return *record;
    }
    std::map<std::string, ByteBuffer> Files(bool includeJournal = false) const
    {
        return GameFixture::Snapshot(GameDirectory(), includeJournal);
    }
    ByteBuffer File(std::string_view relative) const { return Files().at(std::string(relative)); }

    TGameFixtureContent Content;
    TTempDir Temp;
    TIMGFile Archive;
    TVehicleFile Definitions;
};
