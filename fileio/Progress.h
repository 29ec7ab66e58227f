#pragma once
// How a long operation reports how far it is and learns that the user wants
// it stopped. The fronts implement it (a progress bar and a Cancel button, a
// console line); the engines only call it. Lives in the file layer so that
// every layer above may take one.

#include "fileio/Errors.h"

#include <cstdint>

namespace vehmira::fileio {

struct TProgressSink {
    virtual ~TProgressSink() = default;
    // done of total units (bytes, for the archive rebuild) are finished.
    virtual void Progress(std::uint64_t done, std::uint64_t total) = 0;
    // Asked between steps; true stops the operation, which then undoes what
    // it did and raises TOperationCancelled.
    virtual bool CancelRequested() = 0;
};

// The operation stopped at the user's request and left everything as it was.
class TOperationCancelled : public TVehmiraError {
public:
    using TVehmiraError::TVehmiraError;
};

} // namespace vehmira::fileio
