#include "engine/GameContext.h"

#include "fileio/Errors.h"

void RequireOpenArchive(const TGameContext& game)
{
    if (game.Archive == nullptr || !game.Archive->IsOpen())
        throw TVehmiraError(TErrorKind::NoOpenArchive,
                            "The model archive Models\\GTA3.img is not open: choose the game directory first.");
}
