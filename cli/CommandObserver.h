#pragma once
// What every command that opens the game shares: where the game is, taken
// from the command line, and the observer that reports the operation's side
// news on stderr, so that stdout stays the command's own output.

#include "cli/Commands.h"
#include "operations/GameSession.h"
#include "operations/OperationObserver.h"

#include <string>

namespace vehmira::cli {

operations::TGameLocation Location(const TCommandContext& context);

// Imports that opening the game rolled back, one line each; and, when a
// person is watching (stderr is a terminal) and the command names its long
// step, that step's percentage on one line. A command never cancels.
class TCommandObserver : public operations::TOperationObserver {
public:
    explicit TCommandObserver(const TCommandContext& context, std::string longStep = {});
    ~TCommandObserver() override;

    void InterruptedImportsRestored(const std::vector<std::string>& restored) override;
    bool Progress(std::uint64_t done, std::uint64_t total) override;

private:
    const TCommandContext& Context;
    std::string LongStep;
    bool ShowProgress;
    int LastPercent = -1;
};

} // namespace vehmira::cli
