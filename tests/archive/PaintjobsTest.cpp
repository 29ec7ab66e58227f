#include "archive/Paintjobs.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace vehmira::archive;

namespace {

TEST(PaintjobsTest, ReducesDictionaryNamesAsTheGame)
{
    struct TCase {
        std::string_view Entry;
        std::optional<std::string_view> Owner;
    };
    const std::vector<TCase> cases = {
        {"elegy1.txd", "elegy"},     {"elegy01.txd", "elegy"},   {"elegy12.TXD", "elegy"},
        {"el3gy12.txd", "el3gy"},    {"nrg5001.txd", "nrg"},     {"ELEGY2.txd", "ELEGY"},
        {"elegy.txd", std::nullopt}, {"elegy1.dff", std::nullopt}, {"elegy1", std::nullopt},
        {"123.txd", ""},             {"elegy1.txdx", "elegy"},   {"elegy1.tx", std::nullopt},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Entry));
        EXPECT_EQ(PaintjobOwnerName(c.Entry), c.Owner);
    }
}

std::vector<std::string> PaintjobsOf(const std::vector<TPaintjobVehicle>& vehicles,
                                     const std::vector<TDIREntrys>& archives, std::int32_t id)
{
    TPaintjobRegister paintjobs(vehicles);
    for (const TDIREntrys& entries : archives)
        paintjobs.AddArchive(entries);
    return paintjobs.Of(id);
}

TDIREntrys Entries(const std::vector<std::string>& names)
{
    TDIREntrys entries;
    for (const std::string& name : names)
        entries.push_back({1, 1, name});
    return entries;
}

TEST(PaintjobsTest, AssignsInDirectoryOrderFirstNameWins)
{
    using TNames = std::vector<std::string>;
    const std::vector<TPaintjobVehicle> vehicles = {
        {562, "elegy"}, {522, "nrg500"}, {399, "below"}, {631, "above"}, {560, "ELEGY"}, {415, "cheetah"}};
    struct TCase {
        std::string Label;
        std::vector<TDIREntrys> Archives;
        std::int32_t ID;
        TNames Expected;
    };
    const std::vector<TCase> cases = {
        {"leading zeros and several digits, directory order",
         {Entries({"elegy12.txd", "elegy.dff", "ELEGY01.TXD", "elegy.txd", "Elegy3.txd"})},
         560, TNames{"elegy12.txd", "ELEGY01.TXD", "Elegy3.txd"}},
        {"the lowest ID of a shared model name takes them", {Entries({"elegy1.txd"})}, 562, TNames{}},
        {"a duplicated name counts once, the first written",
         {Entries({"elegy1.txd", "ELEGY1.txd"}), Entries({"elegy1.txd", "elegy2.txd"})},
         560, TNames{"elegy1.txd", "elegy2.txd"}},
        {"a model name ending in a digit has none", {Entries({"nrg5001.txd", "nrg5002.txd", "nrg500.txd"})}, 522,
         TNames{}},
        {"IDs outside the vehicle range own none", {Entries({"below1.txd", "above1.txd"})}, 399, TNames{}},
        {"the model's own dictionary is no paintjob", {Entries({"cheetah.txd"})}, 415, TNames{}},
        {"names of several digit runs keep the inner ones", {Entries({"che3tah1.txd", "cheetah2x.txd"})}, 415,
         TNames{}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Label);
        EXPECT_EQ(PaintjobsOf(vehicles, c.Archives, c.ID), c.Expected);
    }
}

TEST(PaintjobsTest, ADictionaryRegisteredByAnEarlierArchiveIsNotAddedAgain)
{
    const std::vector<TPaintjobVehicle> vehicles = {{402, "buffalo"}};
    // The first archive registers buffalo1 as a plain dictionary name before
    // any vehicle could own it: a later copy is not a second paintjob.
    EXPECT_EQ(PaintjobsOf(vehicles, {Entries({"buffalo1.txd"}), Entries({"BUFFALO1.TXD", "buffalo2.txd"})}, 402),
              (std::vector<std::string>{"buffalo1.txd", "buffalo2.txd"}));
    EXPECT_EQ(PaintjobsOf(vehicles, {Entries({"a.txd", "buffalo1.txd", "buffalo2.txd", "buffalo3.txd",
                                              "buffalo4.txd", "buffalo05.txd"})},
                          402)
                  .size(),
              MaxPaintjobs + 1);
}

} // namespace
