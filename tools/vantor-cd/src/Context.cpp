#include "Context.h"

#include "UserError.h"

#include <cstdlib>

namespace vantorcd {

Context::Context(InstallLayout layout, const GlobalOptions& options)
    : m_layout(std::move(layout)), m_options(options)
{
}

Context::~Context() = default;

const Host& Context::host()
{
    if (!m_host) {
        if (!m_log)
            m_log = std::make_unique<ProgramLog>("vantor-cd", m_options.verbose);
        m_host =
            std::make_unique<Host>(m_layout.pluginPath(m_options.plugin, std::getenv("VANTOR_PLUGIN_PATH")));
    }
    return *m_host;
}

std::string Context::lastLoggedError() const
{
    return m_log ? m_log->lastError() : std::string();
}

std::string Context::demoDisc() const
{
    const std::filesystem::path cueSheet = m_layout.demoCueSheet();
    std::error_code error;
    if (!std::filesystem::exists(cueSheet, error))
        throw UserError("no disc given, and the demo disc is missing (" + cueSheet.string() + ")");
    return cueSheet.string();
}

} // namespace vantorcd
