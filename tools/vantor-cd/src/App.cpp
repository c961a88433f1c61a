#include "App.h"

#include "Commands.h"
#include "Context.h"
#include "ErrorText.h"
#include "UserError.h"

extern "C" {
#include <libavutil/log.h>
}

#include <iostream>

namespace vantorcd {
namespace {

void reportFailure(const std::string& text)
{
    std::cout.flush();
    std::cerr << "vantor-cd: " << text << std::endl;
}

// CLI11 reports an unknown command as a missing one; name the word instead.
std::string usageProblem(const CLI::App& app, const CLI::ParseError& error)
{
    const char* const commands = "drives, list, info, rip, rip-disc, play or cda";
    if (!app.get_subcommands().empty())
        return error.what();
    const std::vector<std::string> extras = app.remaining();
    if (!extras.empty())
        return "unknown command '" + extras.front() + "' (" + commands + ")";
    if (dynamic_cast<const CLI::RequiredError*>(&error))
        return std::string("a command is required: ") + commands;
    return error.what();
}

int parseAndRun(CLI::App& app, int argc, char** argv)
{
    try {
        app.parse(argc, argv);
        return 0;
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == 0)
            return app.exit(error); // --help
        reportFailure(usageProblem(app, error) + " (see vantor-cd --help)");
        return kExitUsage;
    } catch (const UserError& error) {
        reportFailure(error.what());
    } catch (const std::exception& error) {
        reportFailure(describeFailure(error));
    } catch (...) {
        reportFailure("unexpected failure");
    }
    return kExitFailure;
}

int runCommands(int argc, char** argv)
{
    CLI::App app{"Lists audio CDs and disc images and plays or rips their tracks through the CD plug-in.",
                 "vantor-cd"};
    app.require_subcommand(1);
    GlobalOptions options;
    app.add_option("--plugin", options.plugin,
                   "the CD plug-in module (default: VANTOR_PLUGIN_PATH, else the bundled one)");
    app.add_flag("-v,--verbose", options.verbose, "show the plug-in's log on standard error");
    Context context(InstallLayout::ofRunningProgram(), options);
    addDrivesCommand(app, context);
    addListCommand(app, context);
    addInfoCommand(app, context);
    addRipCommand(app, context);
    addRipDiscCommand(app, context);
    addPlayCommand(app, context);
    addCdaCommand(app, context);
    return parseAndRun(app, argc, argv);
}

} // namespace

int runApp(int argc, char** argv)
{
    av_log_set_level(AV_LOG_QUIET);
    try {
        return runCommands(argc, argv);
    } catch (const std::exception& error) {
        reportFailure(describeFailure(error));
    } catch (...) {
        reportFailure("unexpected failure");
    }
    return kExitFailure;
}

} // namespace vantorcd
