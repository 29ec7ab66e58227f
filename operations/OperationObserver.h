#pragma once
// How an operation talks to whoever started it. Each front end implements
// this once, in its own words: the window with message boxes and a progress
// bar, the command line on stderr. The operations themselves hold no text.

#include <cstdint>
#include <string>
#include <vector>

namespace vehmira::operations {

class TOperationObserver {
public:
    virtual ~TOperationObserver() = default;

    // Opening the game rolled back imports that a crash interrupted; one line
    // per restored import, as the journal describes it.
    virtual void InterruptedImportsRestored(const std::vector<std::string>& restored) = 0;

    // A long operation has done this much of its total (bytes); true asks it
    // to stop, leaving the game's files as they were.
    virtual bool Progress(std::uint64_t done, std::uint64_t total)
    {
        (void)done;
        (void)total;
        return false;
    }
};

} // namespace vehmira::operations
