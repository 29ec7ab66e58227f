#pragma once
// Import of a vehicle over an existing one: all or nothing, journaled for undo.

#include "gamedata/VehiclesIde.h"
#include "package/GameContext.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

inline constexpr const char* ImportSucceededText = "  Импортирование успешно завершено!!!  ";
inline constexpr const char* ImportFailedText = "  Ошибка при импортировании!";

// The separate inputs. Every text is the game's 8-bit text (code page 1251);
// an empty (or blank-only) text or path skips its step.
struct TImportFiles {
    std::filesystem::path DFF;
    std::filesystem::path TXD;
    std::string Name;
    std::string Handling;
    std::string HandlingSpecial;
    std::string Vehicles;
    std::string Carcols;
};

using TImportSource = std::variant<std::filesystem::path, TImportFiles>;

struct TImportResult {
    std::vector<std::string> SkippedSteps; // e.g. "special handling line: the package holds no line"
    std::string JournalId;
};

// A failed import. The game directory is as it was before. UserMessage is the
// message to show before the general failure text, empty when there is none
// (the format messages "  Ungültige CAR-Datei!!" and "  CAR-Datei nicht
// unterstützt!!", a missing DFF/TXD file, a source that is not RenderWare);
// what() always describes the cause.
class TImportError : public std::runtime_error {
public:
    TImportError(std::string userMessage, const std::string& cause)
        : std::runtime_error(cause), UserMessage(std::move(userMessage))
    {
    }
    std::string UserMessage;
};

// Reads and checks the whole source and every game file the import will
// write, then applies the steps (model, texture dictionary, display name,
// handling lines, Vehicles.ide line, Carcols.dat line) inside one
// TImportTransaction. Every failure is a TImportError, and the game directory
// is then as it was.
TImportResult ImportVehicle(const TGameContext& game, const TVehicleRecord& target, const TImportSource& source);
TImportResult ImportFromPackage(const TGameContext& game, const TVehicleRecord& target,
                                const std::filesystem::path& package);
TImportResult ImportFromFiles(const TGameContext& game, const TVehicleRecord& target, const TImportFiles& files);
