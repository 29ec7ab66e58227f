#pragma once
// An observer's Progress as the engines' progress sink: true from the
// observer asks the engine to stop at its next step.

#include "fileio/Progress.h"
#include "operations/OperationObserver.h"

namespace vehmira::operations {

class TObserverProgress : public fileio::TProgressSink {
public:
    explicit TObserverProgress(TOperationObserver& observer) : Observer(observer) {}
    void Progress(std::uint64_t done, std::uint64_t total) override
    {
        Cancelled = Observer.Progress(done, total) || Cancelled;
    }
    bool CancelRequested() override { return Cancelled; }

private:
    TOperationObserver& Observer;
    bool Cancelled = false;
};

} // namespace vehmira::operations
