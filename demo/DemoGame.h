#pragma once
// A small demo game directory of this project's own making, for trying the
// tool and for tests: the files the tool works on, with the letter case of a
// real install (models/gta3.img, data/vehicles.ide, data/handling.cfg,
// data/carcols.dat, text/<language>.gxt).

#include <filesystem>
#include <string_view>

namespace vehmira::demo {

// Marks a directory as written by WriteDemoGame, so that writing it again may
// replace its files.
inline constexpr std::string_view DemoGameMarkerName = "vehmira-demo-game.txt";

// Writes the demo into directory, creating it when needed. The same bytes on
// every run. Refuses a directory that holds anything but an earlier demo (it
// could be a real install), changing nothing.
void WriteDemoGame(const std::filesystem::path& directory);

} // namespace vehmira::demo
