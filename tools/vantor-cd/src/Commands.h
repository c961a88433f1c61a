// The program's commands, one per file; each adds its subcommand and the callback that runs it.
// A callback returns normally on success and throws on failure (App turns that into one line).
#pragma once

#include <CLI/CLI.hpp>

namespace vantorcd {

class Context;

void addDrivesCommand(CLI::App& app, Context& context);
void addListCommand(CLI::App& app, Context& context);
void addInfoCommand(CLI::App& app, Context& context);
void addRipCommand(CLI::App& app, Context& context);
void addRipDiscCommand(CLI::App& app, Context& context);
void addPlayCommand(CLI::App& app, Context& context);
void addCdaCommand(CLI::App& app, Context& context);

} // namespace vantorcd
