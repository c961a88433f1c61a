#include "Host.h"

#include "ErrorText.h"
#include "UserError.h"

#include "Vantor/Core/Interfaces/Exceptions.h"
#include "Vantor/Proc/SettingsParser.h"

namespace vantorcd {

Host::Host(const std::filesystem::path& modulePath)
{
    if (!std::filesystem::exists(modulePath))
        throw UserError("cannot load the CD plug-in: " + modulePath.string() +
                        " does not exist (set VANTOR_PLUGIN_PATH or --plugin)");
    try {
        m_registry.LoadModule(Vantor::ioPath(modulePath.string()));
    } catch (const Vantor::Exception& error) {
        throw UserError("cannot load the CD plug-in " + modulePath.string() + ": " + describeFailure(error));
    }
}

Vantor::SP<Vantor::Proc::ICDReader> Host::openDisc(const Vantor::ioPath& path) const
{
    return m_registry.CreateCDReader(path);
}

Vantor::SP<Vantor::Proc::IParser> Host::openTrack(const Vantor::SP<Vantor::Core::IDataInput>& input,
                                                  const std::string& formatName) const
{
    const auto creators = m_registry.GetParserCreators(formatName);
    if (creators.empty())
        throw UserError("the CD plug-in registered no parser for ." + formatName + " tracks");
    return creators.front()->Create(input, Vantor::Proc::SettingsParser{}, nullptr);
}

} // namespace vantorcd
