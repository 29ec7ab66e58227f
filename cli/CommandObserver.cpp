#include "cli/CommandObserver.h"

#include "cli/OutputText.h"

#include <cstdio>
#include <iostream>
#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace vehmira::cli {

namespace {

bool StderrIsTerminal(const TCommandContext& context)
{
    if (&context.Err != &std::cerr)
        return false;
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return isatty(fileno(stderr)) != 0;
#endif
}

} // namespace

operations::TGameLocation Location(const TCommandContext& context)
{
    return {context.GameDirectory, context.GXTFileName};
}

TCommandObserver::TCommandObserver(const TCommandContext& context, std::string longStep)
    : Context(context), LongStep(std::move(longStep)), ShowProgress(!LongStep.empty() && StderrIsTerminal(context))
{
}

TCommandObserver::~TCommandObserver()
{
    if (LastPercent >= 0)
        Context.Err << '\n';
}

void TCommandObserver::InterruptedImportsRestored(const std::vector<std::string>& restored)
{
    for (const std::string& line : restored)
        Context.Err << "vehmira: " << MessageToUtf8(line) << '\n';
}

bool TCommandObserver::Progress(std::uint64_t done, std::uint64_t total)
{
    const int percent = total == 0 ? 100 : int(done * 100 / total);
    if (ShowProgress && percent != LastPercent) {
        Context.Err << '\r' << LongStep << ": " << percent << '%' << std::flush;
        LastPercent = percent;
    }
    return false;
}

} // namespace vehmira::cli
