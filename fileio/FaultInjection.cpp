#include "fileio/FaultInjection.h"

#include "fileio/Errors.h"

#include <string>

namespace vehmira::fileio {

namespace {
int FailingOperation = 0;
bool FailingPersists = false;
int SeenOperations = 0;
} // namespace

namespace FaultInjection {

void FailAtOperation(int n, bool persist)
{
    FailingOperation = n;
    FailingPersists = persist;
    SeenOperations = 0;
}

int OperationsSeen() { return SeenOperations; }

void CountOperation(std::string_view what)
{
    ++SeenOperations;
    const bool failing = FailingPersists ? SeenOperations >= FailingOperation : SeenOperations == FailingOperation;
    if (FailingOperation != 0 && failing)
        throw TVehmiraError("Injected failure of " + std::string(what) + " (operation " +
                            std::to_string(SeenOperations) + ")");
}

} // namespace FaultInjection

} // namespace vehmira::fileio
