#include "fileio/FaultInjection.h"

#include "fileio/Errors.h"

#include <string>

namespace {
int FailingOperation = 0;
int SeenOperations = 0;
} // namespace

namespace FaultInjection {

void FailAtOperation(int n)
{
    FailingOperation = n;
    SeenOperations = 0;
}

int OperationsSeen() { return SeenOperations; }

void CountOperation(std::string_view what)
{
    ++SeenOperations;
    if (FailingOperation != 0 && SeenOperations == FailingOperation)
        throw TVehmiraError("Injected failure of " + std::string(what) + " (operation " +
                            std::to_string(SeenOperations) + ")");
}

} // namespace FaultInjection
