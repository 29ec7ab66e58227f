#include "gamedata/GameDat.h"

#include <gtest/gtest.h>

using namespace vehmira::gamedata;

namespace {

std::vector<std::pair<std::string, std::size_t>> Listed(const std::vector<TGameDatFile>& files)
{
    std::vector<std::pair<std::string, std::size_t>> listed;
    for (const TGameDatFile& file : files)
        listed.emplace_back(file.Path, file.Line);
    return listed;
}

TEST(GameDatTest, ReadsArchiveAndDefinitionLinesInOrderWithTheGamesLineRules)
{
    using TListed = std::vector<std::pair<std::string, std::size_t>>;
    const std::string text = "# load IDE files\r\n"
                             "IDE DATA\\VEHICLES.IDE\r\n"
                             "\r\n"
                             "IMG MODELS\\CARS.IMG   # the mod's archive\n"
                             "img models\\lower.img\n"
                             "  IDE\tDATA\\MAPS\\veh_mods\\veh_mods.ide  \r"
                             "; IMG MODELS\\COMMENTED.IMG\n"
                             "IMGX MODELS\\OTHER.IMG\n"
                             "IMG\n"
                             "COLFILE 0 DATA\\MAPS\\GENERIC.COL\n"
                             "IMG models\\second.img";
    const TGameDat files = ReadGameDat(text);
    EXPECT_EQ(Listed(files.Archives), (TListed{{"MODELS\\CARS.IMG", 4}, {"models\\second.img", 11}}));
    EXPECT_EQ(Listed(files.Definitions),
              (TListed{{"DATA\\VEHICLES.IDE", 2}, {"DATA\\MAPS\\veh_mods\\veh_mods.ide", 6}}));
    EXPECT_TRUE(ReadGameDat("").Archives.empty());
    EXPECT_TRUE(ReadGameDat("IMG").Archives.empty());
    // A separator at the end is no part of the path; one alone leaves none.
    EXPECT_EQ(Listed(ReadGameDat("IMG a.img,\nIMG ,\n").Archives), (TListed{{"a.img", 1}}));
}

} // namespace
