#include "demo/DemoGxt.h"

#include "fileio/Errors.h"
#include "gamedata/CRC32.h"
#include "gamedata/CodePage1251.h"

#include <algorithm>
#include <array>
#include <string>

namespace vehmira::demo {

namespace {
struct TDemoText {
    std::string_view Key;
    std::array<std::string_view, DemoLanguageCount> Texts; // UTF-8, by TDemoLanguage
};

constexpr TDemoText MainTexts[] = {
    {"DEMOTTL", {"Демонстрационная игра", "Jeu de demonstration", "Demospiel", "Gioco dimostrativo",
                 "Juego de demostracion"}},
    {"DEMOTXT", {"Это не настоящая игра.", "Ce n'est pas un vrai jeu.", "Dies ist kein echtes Spiel.",
                 "Questo non e un vero gioco.", "Esto no es un juego de verdad."}},
    {"MENU_OK", {"Да", "Oui", "Ja", "Si", "Si"}},
};

constexpr TDemoText MissionTexts[] = {
    {"DMIS_01", {"Доставьте машину в гараж.", "Amenez la voiture au garage.", "Bring den Wagen in die Garage.",
                 "Porta l'auto in garage.", "Lleva el coche al garaje."}},
    {"DMIS_02", {"Задание выполнено!", "Mission accomplie !", "Auftrag erledigt!", "Missione compiuta!",
                 "Mision cumplida!"}},
};

std::array<char, 8> TableName(std::string_view name)
{
    std::array<char, 8> bytes{};
    std::copy_n(name.begin(), std::min(name.size(), bytes.size()), bytes.begin());
    return bytes;
}

// Builds a table from (key, UTF-8 text) pairs, keys sorted by hash as the game's files keep them.
gamedata::TGXTTable BuildTable(std::string_view name, std::vector<std::pair<std::string_view, std::string_view>> texts)
{
    gamedata::TGXTTable table;
    table.Name = TableName(name);
    table.KeyMagic = {'T', 'K', 'E', 'Y'};
    std::vector<std::pair<std::uint32_t, std::string>> entries;
    for (const auto& [key, utf8] : texts) {
        const std::optional<std::string> bytes = gamedata::Utf8ToCp1251(utf8);
        if (!bytes)
            throw fileio::TVehmiraError("demo text of key " + std::string(key) + " does not fit code page 1251");
        entries.emplace_back(gamedata::GXTKeyHash(key), *bytes);
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [hash, bytes] : entries) {
        table.Keys.push_back({0, hash});
        table.Texts.push_back(std::move(bytes));
    }
    table.KeyBlockSize = std::uint32_t(8 * table.Keys.size());
    return table;
}
} // namespace

std::string_view DemoGxtFileName(TDemoLanguage language)
{
    constexpr std::array<std::string_view, DemoLanguageCount> names = {"american.gxt", "french.gxt", "german.gxt",
                                                                       "italian.gxt", "spanish.gxt"};
    return names[std::size_t(language)];
}

gamedata::TGXTFile DemoGxt(TDemoLanguage language)
{
    const auto index = std::size_t(language);
    std::vector<std::pair<std::string_view, std::string_view>> mainTexts;
    for (const TDemoVehicle& vehicle : DemoVehicles())
        mainTexts.emplace_back(vehicle.GXTKey, vehicle.Names[index]);
    for (const TDemoText& text : MainTexts)
        mainTexts.emplace_back(text.Key, text.Texts[index]);
    std::vector<std::pair<std::string_view, std::string_view>> missionTexts;
    for (const TDemoText& text : MissionTexts)
        missionTexts.emplace_back(text.Key, text.Texts[index]);

    gamedata::TGXTFile gxt;
    gxt.Tables.push_back(BuildTable("MAIN", std::move(mainTexts)));
    gxt.Tables.push_back(BuildTable("DEMOMIS", std::move(missionTexts)));
    return gxt;
}

} // namespace vehmira::demo
