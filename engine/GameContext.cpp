#include "engine/GameContext.h"

#include "fileio/Errors.h"

namespace vehmira::engine {

void RequireOpenArchive(const TGameContext& game)
{
    if (game.Archive == nullptr || !game.Archive->IsOpen())
        throw fileio::TVehmiraError(fileio::TErrorKind::NoOpenArchive,
                                    "The model archive Models\\GTA3.img is not open: choose the game directory first.");
}

} // namespace vehmira::engine
