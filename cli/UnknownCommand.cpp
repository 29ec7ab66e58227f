#include "cli/UnknownCommand.h"

#include <algorithm>
#include <numeric>

namespace vehmira::cli {

namespace {

// Insertions, deletions and substitutions that turn one word into the other.
std::size_t EditDistance(const std::string& from, const std::string& to)
{
    std::vector<std::size_t> previous(to.size() + 1), current(to.size() + 1);
    std::iota(previous.begin(), previous.end(), 0);
    for (std::size_t i = 1; i <= from.size(); ++i) {
        current[0] = i;
        for (std::size_t j = 1; j <= to.size(); ++j)
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1,
                                   previous[j - 1] + (from[i - 1] == to[j - 1] ? 0 : 1)});
        previous.swap(current);
    }
    return previous[to.size()];
}

// An option of this command or of one above it (options fall through) that takes a value.
bool TakesValue(const CLI::App& command, const std::string& argument)
{
    for (const CLI::App* level = &command; level; level = level->get_parent())
        if (const CLI::Option* option = level->get_option_no_throw(argument))
            return option->get_expected_min() > 0 && option->get_type_size() > 0;
    return false;
}

std::string UnknownText(const std::string& word, const std::vector<CLI::App*>& commands)
{
    std::string nearest;
    std::size_t nearestDistance = 3; // farther than two edits is no longer a typo
    std::string names;
    for (const CLI::App* command : commands) {
        const std::string& name = command->get_name();
        names += (names.empty() ? "" : ", ") + name;
        if (const std::size_t distance = EditDistance(word, name); distance < nearestDistance) {
            nearest = name;
            nearestDistance = distance;
        }
    }
    std::string text = "unknown command \"" + word + "\"";
    return nearest.empty() ? text + "; the commands are " + names : text + "; did you mean \"" + nearest + "\"?";
}

} // namespace

std::optional<std::string> UnknownCommandText(CLI::App& app, const std::vector<std::string>& args)
{
    CLI::App* level = &app;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& argument = args[i];
        if (argument == "--")
            return std::nullopt;
        if (argument.size() > 1 && argument.front() == '-') {
            if (argument.find('=') == std::string::npos && TakesValue(*level, argument))
                ++i;
            continue;
        }
        const std::vector<CLI::App*> commands = level->get_subcommands([](CLI::App*) { return true; });
        if (commands.empty())
            return std::nullopt; // the command's own arguments begin
        const auto named = std::find_if(commands.begin(), commands.end(),
                                        [&](const CLI::App* command) { return command->check_name(argument); });
        if (named == commands.end())
            return UnknownText(argument, commands);
        level = *named;
    }
    return std::nullopt;
}

} // namespace vehmira::cli
