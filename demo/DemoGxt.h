#pragma once
// The GXT text files of the demo game directory.

#include "demo/DemoVehicles.h"
#include "gamedata/GXT.h"

#include <string_view>

namespace vehmira::demo {

// The file name under text\ of each language, in lower case as a real install has it.
std::string_view DemoGxtFileName(TDemoLanguage language);

// The main table holds every demo vehicle's name and a few other texts, and
// one mission table follows; keys are sorted by hash, texts are code page 1251.
gamedata::TGXTFile DemoGxt(TDemoLanguage language);

} // namespace vehmira::demo
