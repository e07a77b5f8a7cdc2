// Runs the command a parse chose.
#include "cli/CommandList.h"

#include <CLI/CLI.hpp>

namespace velkor {

void CommandList::add(const CLI::App* command, Body body) {
    commands_.emplace_back(command, std::move(body));
}

int CommandList::run(const CLI::App& parsed) const {
    const CLI::App* chosen = &parsed;
    while (!chosen->get_subcommands().empty()) {
        chosen = chosen->get_subcommands().front();
    }
    for (const auto& [command, body] : commands_) {
        if (command == chosen) {
            return body();
        }
    }
    return 2;
}

}  // namespace velkor
