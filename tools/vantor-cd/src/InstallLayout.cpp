#include "InstallLayout.h"

#include "UserError.h"

#include <system_error>

namespace vantorcd {

InstallLayout::InstallLayout(const std::filesystem::path& binaryDirectory) : m_prefix(binaryDirectory / "..")
{
}

InstallLayout InstallLayout::ofRunningProgram()
{
    std::error_code error;
    const std::filesystem::path binary = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        throw UserError("cannot locate the program's own binary: " + error.message());
    return InstallLayout(binary.parent_path());
}

std::filesystem::path InstallLayout::bundledPluginPath() const
{
    return (m_prefix / "lib" / "libParserCD.so").lexically_normal();
}

std::filesystem::path InstallLayout::demoDirectory() const
{
    return (m_prefix / "share" / "vantor-cd" / "demo").lexically_normal();
}

std::filesystem::path InstallLayout::demoCueSheet() const
{
    return demoDirectory() / "demo.cue";
}

std::filesystem::path InstallLayout::pluginPath(const std::string& option, const char* environmentValue) const
{
    if (!option.empty())
        return option;
    if (environmentValue && *environmentValue)
        return environmentValue;
    return bundledPluginPath();
}

} // namespace vantorcd
