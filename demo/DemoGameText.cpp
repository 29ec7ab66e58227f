#include "demo/DemoGameText.h"

#include "demo/DemoVehicles.h"

#include <initializer_list>
#include <string>
#include <string_view>

namespace vehmira::demo {

namespace {
constexpr std::string_view LineEnd = "\r\n";

void AppendLines(std::string& text, std::initializer_list<std::string_view> lines)
{
    for (const std::string_view line : lines)
        text.append(line).append(LineEnd);
}
} // namespace

std::string DemoVehiclesIde()
{
    std::string text;
    AppendLines(text, {"# Vehicle definitions of the Vehmira demo game directory.",
                       "# ID, model, texture dictionary, type, handling ID, GXT key, animations, class,",
                       "# frequency, level, component rules, wheel model, wheel scale front and rear, upgrades",
                       "", "objs", "# Props: five fields, outside the vehicle section.",
                       "1000, demo_sign, demo_props, 100, 0", "end", "", "cars"});
    for (const TDemoVehicle& vehicle : DemoVehicles())
        AppendLines(text, {vehicle.DefinitionLine});
    AppendLines(text, {"end", "", "peds",
                       "# Pedestrians have definition lines of their own shape; they are no vehicles.",
                       "7, demo_male, demo_male, CIVMALE, STAT_DEMO, man, 1FFF, 0, null, 9, 9", "end"});
    return text;
}

std::string DemoHandlingCfg()
{
    std::string text;
    AppendLines(text,
                {"; Handling data of the Vehmira demo game directory.", ";",
                 "; Main lines, one per handling ID, fields separated by blanks or tabs:",
                 "; A handling ID  B mass  C turn mass  D drag  E F G centre of mass x y z  H percent submerged",
                 "; I traction multiplier  J traction loss  K traction bias  L gears  M top speed",
                 "; N acceleration  O engine inertia  P drive (F, R, 4)  Q engine (P, D, E)",
                 "; R brake deceleration  S brake bias  T ABS  U steering lock",
                 "; V suspension force  W damping  X high-speed damping  Y upper limit  Z lower limit",
                 "; a suspension bias  b anti-dive  c seat offset  d damage multiplier  e value",
                 "; f model flags  g handling flags  h front lights  i rear lights  j animation group", ";"});
    for (const TDemoVehicle& vehicle : DemoVehicles())
        AppendLines(text, {vehicle.HandlingLine});
    AppendLines(text, {"", "; Special lines: a marker in field 0, the key in field 1.",
                       ";  \"!\" bikes, \"$\" aircraft, \"%\" boats: the handling ID",
                       ";  \"^\" animation values: a vehicle ID"});
    for (const std::string_view line : DemoSpecialHandlingLines())
        AppendLines(text, {line});
    AppendLines(text, {"; the end"});
    return text;
}

constexpr int DemoPaletteSize = 128;

std::string DemoCarcolsDat()
{
    std::string text;
    AppendLines(text, {"# Vehicle colours of the Vehmira demo game directory.", "#", "# The palette: red, green, blue.",
                       "col", "0,0,0\t\t# 0 black", "245,245,245\t# 1 white", "42,119,161\t# 2 sky blue",
                       "132,4,16\t# 3 dark red", "38,55,57\t# 4 slate"});
    // The rest of the game's 128 colours, so that every number the colour lines name is in the table.
    for (int n = 5; n < DemoPaletteSize; ++n)
        AppendLines(text, {std::to_string(n * 37 % 256) + "," + std::to_string(n * 91 % 256) + "," +
                           std::to_string(n * 53 % 256) + "\t# " + std::to_string(n)});
    AppendLines(text, {"end", "", "# Colour pairs per vehicle model: primary, secondary.", "car"});
    for (const TDemoVehicle& vehicle : DemoVehicles())
        AppendLines(text, {vehicle.ColourLine});
    AppendLines(text, {"end", "", "# Four-colour vehicles.", "car4", "end"});
    return text;
}

} // namespace vehmira::demo
