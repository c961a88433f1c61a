// Where the program finds its plug-in and its demo disc: beside its own binary, in the same
// layout in the build tree and in an installed tree (bin/, lib/, share/vantor-cd/).
#pragma once

#include <filesystem>
#include <string>

namespace vantorcd {

class InstallLayout
{
public:
    explicit InstallLayout(const std::filesystem::path& binaryDirectory);

    // The layout of the running program. Throws UserError when its binary cannot be located.
    static InstallLayout ofRunningProgram();

    std::filesystem::path bundledPluginPath() const;
    std::filesystem::path demoDirectory() const;
    std::filesystem::path demoCueSheet() const;

    // The plug-in to load: the --plugin option, else VANTOR_PLUGIN_PATH, else the bundled one.
    std::filesystem::path pluginPath(const std::string& option, const char* environmentValue) const;

private:
    std::filesystem::path m_prefix;
};

} // namespace vantorcd
