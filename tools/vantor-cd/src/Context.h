// What every command shares: the global options, the install layout, and the host with the
// plug-in loaded on first use.
#pragma once

#include "Host.h"
#include "InstallLayout.h"
#include "ProgramLog.h"

#include <memory>
#include <string>

namespace vantorcd {

struct GlobalOptions
{
    std::string plugin;   // --plugin
    bool verbose = false; // --verbose: the plug-in's log on standard error
};

class Context
{
public:
    Context(InstallLayout layout, const GlobalOptions& options);
    ~Context();

    const InstallLayout& layout() const noexcept { return m_layout; }

    // Sets up logging and loads the plug-in the first time. Throws UserError when it cannot be loaded.
    const Host& host();

    // The last error line the plug-in logged, or empty.
    std::string lastLoggedError() const;

    // The demo disc's CUE sheet. Throws UserError when the demo is not installed.
    std::string demoDisc() const;

private:
    InstallLayout m_layout;
    const GlobalOptions& m_options;
    std::unique_ptr<ProgramLog> m_log; // before the host: outlives the plug-in
    std::unique_ptr<Host> m_host;
};

} // namespace vantorcd
